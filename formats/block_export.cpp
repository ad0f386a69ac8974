#include "formats/block_export.hpp"
#include "formats/file_formats.hpp"

#include "geometry/block_set.hpp"
#include "geometry/outward_faces.hpp"
#include "io/atomic_file.hpp"
#include "io/number_text.hpp"
#include "io/vtp_file.hpp"

#include <cstdint>
#include <cstdio>
#include <numeric>

namespace tolvex {

namespace {

// "x y z", each at its shortest.
void append_coordinates(std::string& out, const vec3& v) {
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            out += ' ';
        append_shortest(out, v[i]);
    }
}

void append_triple(std::string& out, const char* prefix, const vec3& v) {
    out += prefix;
    append_coordinates(out, v);
    out += '\n';
}

// A point of the run in the boundary file's coordinates.
vec3 placed(const vec3& p, const vec3& centre) {
    return make_vec3(p[0] + centre[0], p[1] + centre[1], p[2] + centre[2]);
}

// The file head with the dataset's field data.
std::string vtk_head(const char* title, const vec3& centre, const std::string& fault_label,
                     const std::vector<std::string>& labels = {}) {
    std::string out =
        std::string("# vtk DataFile Version 3.0\n") + title + "\nASCII\nDATASET POLYDATA\n";
    out += "FIELD FieldData " + std::to_string(1 + !fault_label.empty() + !labels.empty()) + "\n";
    append_triple(out, "centre 3 1 double\n", centre);
    if (!fault_label.empty())
        out += "fault 1 1 string\n" + vtk_string(fault_label) + "\n";
    if (!labels.empty()) {
        out += "fault_label 1 " + std::to_string(labels.size()) + " string\n";
        for (const std::string& label : labels)
            out += vtk_string(label) + "\n";
    }
    return out;
}

std::vector<vtp_array> vtp_field_data(const vec3& centre, const std::string& fault_label,
                                      const std::vector<std::string>& labels = {}) {
    std::vector<vtp_array> out{{"centre", "Float64", 3,
                                array_bytes(std::vector<double>{centre[0], centre[1], centre[2]})}};
    if (!fault_label.empty())
        out.push_back(vtp_string("fault", fault_label));
    if (!labels.empty()) {
        vtp_array all{"fault_label", "String", 1, ""};
        for (const std::string& label : labels)
            all.bytes += label + '\0';
        out.push_back(std::move(all));
    }
    return out;
}

// Per face of every block in turn: the block's position and the loaded fault that made the face.
struct face_numbers {
    std::vector<std::int32_t> block, fault;
};

face_numbers numbers_of_faces(const std::vector<block>& blocks, const fault_order& order) {
    face_numbers out;
    for (std::size_t n = 0; n < blocks.size(); ++n)
        for (const face& f : blocks[n].faces) {
            out.block.push_back(static_cast<std::int32_t>(n));
            out.fault.push_back(loaded_fault_of(f.source, order));
        }
    return out;
}

void append_cell_scalars(std::string& out, const char* name,
                         const std::vector<std::int32_t>& values) {
    out += "SCALARS " + std::string(name) + " int 1\nLOOKUP_TABLE default\n";
    for (const std::int32_t v : values)
        out += std::to_string(v) + "\n";
}

// numbers, made again unless they are already those of count tracers.
const tracer_numbers& tracer_numbers_of(std::size_t count, tracer_numbers& numbers) {
    if (!numbers.made || numbers.count != count) {
        std::vector<std::int32_t> index(count);
        std::iota(index.begin(), index.end(), 0);
        numbers = {true, count, packed_vertex_cells(count),
                   vtp_pack({"tracer", "Int32", 1, array_bytes(index)})};
    }
    return numbers;
}

} // namespace

int loaded_fault_of(int face_source, const fault_order& order) {
    if (!face_source_is_cut(face_source))
        return -1;
    const int position = cut_fault(face_source);
    return order.run == run_kind::restoration ? position
                                              : static_cast<int>(order.count) - 1 - position;
}

std::string blocks_to_vtk(const std::vector<block>& blocks, const vec3& centre,
                          const std::string& fault_label, const fault_order& order) {
    std::size_t points = 0, polygons = 0, polygon_ints = 0;
    for (const block& b : blocks) {
        points += b.vertices.size();
        polygons += b.faces.size();
        for (const face& f : b.faces)
            polygon_ints += 1 + f.indices.size();
    }
    std::string out = vtk_head("tolvex blocks", centre, fault_label, order.labels);
    out += "POINTS " + std::to_string(points) + " double\n";
    for (const block& b : blocks)
        for (const vec3& v : b.vertices)
            append_triple(out, "", placed(v, centre));

    out += "POLYGONS " + std::to_string(polygons) + " " + std::to_string(polygon_ints) + "\n";
    point_list normals; // the outward normals, written after the cell scalars
    normals.reserve(polygons);
    std::size_t base = 0;
    for (const block& b : blocks) {
        for (const face& f : outward_faces(b)) {
            out += std::to_string(f.indices.size());
            for (int i : f.indices)
                out += " " + std::to_string(base + static_cast<std::size_t>(i));
            out += '\n';
            normals.push_back(f.normal);
        }
        base += b.vertices.size();
    }

    const face_numbers numbers = numbers_of_faces(blocks, order);
    out += "CELL_DATA " + std::to_string(polygons) + "\n";
    append_cell_scalars(out, "block", numbers.block);
    append_cell_scalars(out, "fault", numbers.fault);
    out += "NORMALS normals double\n";
    for (const vec3& n : normals)
        append_triple(out, "", n);
    return out;
}

std::string vtk_string(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte >= 127 || c == '%') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned>(byte));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

std::string tracers_to_vtk(const point_list& tracers, const vec3& centre,
                           const std::string& fault_label) {
    const std::string n = std::to_string(tracers.size());
    std::string out = vtk_head("tolvex tracers", centre, fault_label);
    out += "POINTS " + n + " double\n";
    for (const vec3& p : tracers)
        append_triple(out, "", placed(p, centre));
    out += "VERTICES " + n + " " + std::to_string(2 * tracers.size()) + "\n";
    for (std::size_t i = 0; i < tracers.size(); ++i)
        out += "1 " + std::to_string(i) + "\n";
    out += "POINT_DATA " + n + "\nSCALARS tracer int 1\nLOOKUP_TABLE default\n";
    for (std::size_t i = 0; i < tracers.size(); ++i)
        out += std::to_string(i) + "\n";
    return out;
}

std::string tracers_to_vset(const point_list& tracers, const vec3& centre) {
    std::string out = "GOCAD VSet 1\nHEADER {\nname: tracers\n}\nPROPERTIES tracer\n";
    for (std::size_t i = 0; i < tracers.size(); ++i) {
        out += "PVRTX " + std::to_string(i + 1) + " ";
        append_coordinates(out, placed(tracers[i], centre));
        out += " " + std::to_string(i) + "\n";
    }
    return out + "END\n";
}

std::string tracer_points_text(const point_list& tracers, const vec3& centre,
                               const std::string& path) {
    const file_format* f = written_format(path, holds::tracer_points);
    return f && f->id == format_id::vset ? tracers_to_vset(tracers, centre)
                                         : tracers_to_vtk(tracers, centre);
}

std::string blocks_to_vtp(const std::vector<block>& blocks, const vec3& centre,
                          const std::string& fault_label, const fault_order& order) {
    std::vector<std::vector<face>> outward;
    outward.reserve(blocks.size());
    for (const block& b : blocks)
        outward.push_back(outward_faces(b));
    return blocks_to_vtp(blocks, outward, centre, fault_label, order);
}

std::string blocks_to_vtp(const std::vector<block>& blocks,
                          std::span<const std::vector<face>> outward, const vec3& centre,
                          const std::string& fault_label, const fault_order& order) {
    vtp_polydata d;
    std::vector<double> normals;
    std::size_t points = 0, faces = 0, corners = 0;
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        points += blocks[n].vertices.size();
        faces += outward[n].size();
        for (const face& f : outward[n])
            corners += f.indices.size();
    }
    d.points.reserve(3 * points);
    d.polygon_connectivity.reserve(corners);
    d.polygon_offsets.reserve(faces);
    normals.reserve(3 * faces);
    std::int64_t base = 0;
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        for (const vec3& v : blocks[n].vertices)
            d.points.insert(d.points.end(), {v[0] + centre[0], v[1] + centre[1], v[2] + centre[2]});
        for (const face& f : outward[n]) {
            for (int i : f.indices)
                d.polygon_connectivity.push_back(base + i);
            d.polygon_offsets.push_back(static_cast<std::int64_t>(d.polygon_connectivity.size()));
            normals.insert(normals.end(), {f.normal[0], f.normal[1], f.normal[2]});
        }
        base += static_cast<std::int64_t>(blocks[n].vertices.size());
    }
    const face_numbers numbers = numbers_of_faces(blocks, order);
    d.cell_data = {{"block", "Int32", 1, array_bytes(numbers.block)},
                   {"fault", "Int32", 1, array_bytes(numbers.fault)},
                   {"Normals", "Float64", 3, array_bytes(normals)}};
    d.cell_scalars = "block";
    d.cell_normals = "Normals";
    d.field_data = vtp_field_data(centre, fault_label, order.labels);
    return vtp_text(d);
}

std::string tracers_to_vtp(const point_list& tracers, const vec3& centre,
                           const std::string& fault_label, tracer_numbers* kept) {
    vtp_polydata d;
    d.points.reserve(3 * tracers.size());
    for (const vec3& t : tracers) {
        const vec3 p = placed(t, centre);
        d.points.insert(d.points.end(), {p[0], p[1], p[2]});
    }
    tracer_numbers made;
    const tracer_numbers& numbers = tracer_numbers_of(tracers.size(), kept ? *kept : made);
    d.packed_vertex_count = tracers.size();
    d.packed_vertex_cells = numbers.cells;
    d.point_data = {numbers.index};
    d.point_scalars = "tracer";
    d.field_data = vtp_field_data(centre, fault_label);
    return vtp_text(d);
}

std::string blocks_to_obj(const std::vector<block>& blocks, const vec3& centre) {
    std::string out = "# tolvex blocks\n";
    std::size_t vertex_base = 1, normal_base = 1; // OBJ counts from 1 across the whole file
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        const block& b = blocks[n];
        const std::vector<face> faces = outward_faces(b);
        out += "o block_" + std::to_string(n) + "\n";
        for (const vec3& v : b.vertices)
            append_triple(out, "v ", placed(v, centre));
        for (const face& f : faces)
            append_triple(out, "vn ", f.normal);
        for (std::size_t k = 0; k < faces.size(); ++k) {
            out += 'f';
            const std::string normal = std::to_string(normal_base + k);
            for (int i : faces[k].indices)
                out +=
                    " " + std::to_string(vertex_base + static_cast<std::size_t>(i)) + "//" + normal;
            out += '\n';
        }
        vertex_base += b.vertices.size();
        normal_base += b.faces.size();
    }
    return out;
}

std::string blocks_file_text(const std::string& path, const std::vector<block>& blocks,
                             const vec3& centre, const fault_order& order) {
    const file_format* f = written_format(path, holds::blocks);
    const format_id id = f ? f->id : format_id::vtk;
    return id == format_id::obj   ? blocks_to_obj(blocks, centre)
           : id == format_id::vtp ? blocks_to_vtp(blocks, centre, "", order)
                                  : blocks_to_vtk(blocks, centre, "", order);
}

void write_blocks_file(const std::string& path, const std::vector<block>& blocks,
                       const vec3& centre, const fault_order& order) {
    write_file_atomically(path, blocks_file_text(path, blocks, centre, order));
}

} // namespace tolvex
