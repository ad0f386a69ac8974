#include "io/vtp_file.hpp"

#include "io/input_error.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>
#include <string_view>
#include <zlib.h>

namespace tolvex {

namespace {

static_assert(std::endian::native == std::endian::little,
              "arrays are written as they lie in memory");

// Uncompressed bytes per compressed block; the reader inflates one block at a time.
constexpr std::size_t block_bytes = std::size_t{1} << 20;

void append_u64(std::string& out, std::uint64_t value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The header (block count, block size, last block's size, each block's compressed size), then the
// blocks, as VTK reads an array with header_type UInt64 and vtkZLibDataCompressor. Step series
// are written in bulk, so the effort goes where it pays: index arrays shrink tenfold at the
// fastest level, while coordinates gain a fifth at several times the cost and are only stored.
void append_compressed(std::string& out, std::string_view bytes, int level) {
    const std::size_t count = bytes.empty() ? 0 : (bytes.size() + block_bytes - 1) / block_bytes;
    const std::size_t header = out.size();
    append_u64(out, count);
    append_u64(out, block_bytes);
    append_u64(out, count == 0 ? 0 : bytes.size() - (count - 1) * block_bytes);
    out.resize(out.size() + 8 * count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t begin = k * block_bytes;
        const std::size_t size = std::min(block_bytes, bytes.size() - begin);
        const std::size_t at = out.size();
        uLongf packed = compressBound(static_cast<uLong>(size));
        out.resize(at + packed);
        if (compress2(reinterpret_cast<Bytef*>(out.data() + at), &packed,
                      reinterpret_cast<const Bytef*>(bytes.data() + begin),
                      static_cast<uLong>(size), level) != Z_OK)
            throw output_error("cannot compress a VTK array");
        out.resize(at + packed);
        const std::uint64_t packed_size = packed;
        std::memcpy(out.data() + header + 24 + 8 * k, &packed_size, sizeof packed_size);
    }
}

int level_of(const std::string& type) {
    return type.starts_with("Float") ? Z_NO_COMPRESSION : Z_BEST_SPEED;
}

// The most bytes append_compressed writes for size bytes.
std::size_t compressed_bound(std::size_t size) {
    const std::size_t count = (size + block_bytes - 1) / block_bytes;
    return 24 + count * (8 + compressBound(static_cast<uLong>(block_bytes)));
}

template <class T> std::string_view bytes_of(const std::vector<T>& values) {
    return {reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T)};
}

// The head and the appended bytes of the file, filled array by array.
struct vtp_builder {
    std::string head;
    std::string appended;

    void array(const std::string& name, const std::string& type, int components,
               std::string_view bytes, const char* tag = "DataArray", bool packed = false) {
        head += "<" + std::string(tag) + " type=\"" + type + "\" Name=\"" + name + "\"";
        if (components != 1)
            head += " NumberOfComponents=\"" + std::to_string(components) + "\"";
        if (type == "String")
            head += " NumberOfTuples=\"" +
                    std::to_string(std::count(bytes.begin(), bytes.end(), '\0')) + "\"";
        head += " format=\"appended\" offset=\"" + std::to_string(appended.size()) + "\"/>\n";
        if (packed)
            appended += bytes;
        else
            append_compressed(appended, bytes, level_of(type));
    }
    void array(const vtp_array& a, const char* tag = "DataArray") {
        array(a.name, a.type, a.components, a.bytes, tag, a.packed);
    }
    void cells(const char* tag, const std::vector<std::int64_t>& connectivity,
               const std::vector<std::int64_t>& offsets) {
        head += "<" + std::string(tag) + ">\n";
        array("connectivity", "Int64", 1, bytes_of(connectivity));
        array("offsets", "Int64", 1, bytes_of(offsets));
        head += "</" + std::string(tag) + ">\n";
    }
    void data(const char* tag, const std::vector<vtp_array>& arrays, const std::string& scalars,
              const std::string& normals) {
        head += "<" + std::string(tag);
        if (!scalars.empty())
            head += " Scalars=\"" + scalars + "\"";
        if (!normals.empty())
            head += " Normals=\"" + normals + "\"";
        head += ">\n";
        for (const vtp_array& a : arrays)
            array(a);
        head += "</" + std::string(tag) + ">\n";
    }
};

} // namespace

vtp_array vtp_pack(vtp_array a) {
    std::string packed;
    append_compressed(packed, a.bytes, level_of(a.type));
    a.bytes = std::move(packed);
    a.packed = true;
    return a;
}

std::vector<vtp_array> packed_vertex_cells(std::size_t count) {
    std::vector<std::int64_t> connectivity(count), offsets(count);
    std::iota(connectivity.begin(), connectivity.end(), 0);
    std::iota(offsets.begin(), offsets.end(), 1);
    return {vtp_pack({"connectivity", "Int64", 1, array_bytes(connectivity)}),
            vtp_pack({"offsets", "Int64", 1, array_bytes(offsets)})};
}

vtp_array vtp_string(const std::string& name, const std::string& value) {
    return {name, "String", 1, value + '\0'};
}

// The most bytes the appended arrays of d take: reserved up front, since a step file's arrays
// run to tens of megabytes and growing them copies and faults in their pages again.
std::size_t appended_bound(const vtp_polydata& d) {
    std::size_t room = 0;
    for (const auto* arrays : {&d.point_data, &d.cell_data, &d.field_data})
        for (const vtp_array& a : *arrays)
            room += compressed_bound(a.bytes.size());
    for (const auto* list :
         {&d.vertex_connectivity, &d.vertex_offsets, &d.polygon_connectivity, &d.polygon_offsets})
        room += compressed_bound(list->size() * sizeof(std::int64_t));
    for (const vtp_array& a : d.packed_vertex_cells)
        room += a.bytes.size();
    return room + compressed_bound(d.points.size() * sizeof(double));
}

std::string vtp_text(const vtp_polydata& d) {
    vtp_builder b;
    // The head goes in front of the appended bytes at the end, into room kept for it.
    constexpr std::size_t head_room = 1 << 16;
    b.appended.reserve(appended_bound(d) + head_room);
    b.head = "<?xml version=\"1.0\"?>\n<VTKFile type=\"PolyData\" version=\"1.0\" "
             "byte_order=\"LittleEndian\" header_type=\"UInt64\" "
             "compressor=\"vtkZLibDataCompressor\">\n<PolyData>\n";
    if (!d.field_data.empty()) {
        b.head += "<FieldData>\n";
        for (const vtp_array& a : d.field_data)
            b.array(a, "Array");
        b.head += "</FieldData>\n";
    }
    b.head += "<Piece NumberOfPoints=\"" + std::to_string(d.points.size() / 3) +
              "\" NumberOfVerts=\"" +
              std::to_string(d.packed_vertex_cells.empty() ? d.vertex_offsets.size()
                                                           : d.packed_vertex_count) +
              "\" NumberOfLines=\"0\" NumberOfStrips=\"0\" NumberOfPolys=\"" +
              std::to_string(d.polygon_offsets.size()) + "\">\n";
    b.data("PointData", d.point_data, d.point_scalars, "");
    b.data("CellData", d.cell_data, d.cell_scalars, d.cell_normals);
    b.head += "<Points>\n";
    b.array("Points", "Float64", 3, bytes_of(d.points));
    b.head += "</Points>\n";
    if (d.packed_vertex_cells.empty()) {
        b.cells("Verts", d.vertex_connectivity, d.vertex_offsets);
    } else {
        b.head += "<Verts>\n";
        for (const vtp_array& a : d.packed_vertex_cells)
            b.array(a);
        b.head += "</Verts>\n";
    }
    b.cells("Polys", d.polygon_connectivity, d.polygon_offsets);
    b.head += "</Piece>\n</PolyData>\n<AppendedData encoding=\"raw\">\n_";
    b.appended.insert(0, b.head);
    return std::move(b.appended.append("\n</AppendedData>\n</VTKFile>\n"));
}

} // namespace tolvex
