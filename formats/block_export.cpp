#include "formats/block_export.hpp"
#include "formats/detail/block_writers.hpp"
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

xyz to_xyz(const vec3& v) {
    return {v[0], v[1], v[2]};
}

// "x y z", each at its shortest.
void append_coordinates(std::string& out, const xyz& v) {
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            out += ' ';
        append_shortest(out, v[i]);
    }
}

// A point of the run in the boundary file's coordinates.
vec3 placed(const vec3& p, const vec3& centre) {
    return make_vec3(p[0] + centre[0], p[1] + centre[1], p[2] + centre[2]);
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

// Block records with each one's outward faces, as the writers read a list.
struct record_blocks {
    const std::vector<block>& blocks;
    std::span<const std::vector<face>> outward;

    struct one {
        const block& b;
        const std::vector<face>& faces;
        std::size_t vertex_count() const { return b.vertices.size(); }
        xyz vertex(std::size_t v) const { return to_xyz(b.vertices[v]); }
        std::size_t face_count() const { return faces.size(); }
        std::size_t corner_count(std::size_t f) const { return faces[f].indices.size(); }
        int corner(std::size_t f, std::size_t k) const { return faces[f].indices[k]; }
        xyz normal(std::size_t f) const { return to_xyz(faces[f].normal); }
        int source(std::size_t f) const { return faces[f].source; }
    };
    std::size_t size() const { return blocks.size(); }
    one at(std::size_t n) const { return {blocks[n], outward[n]}; }
};

std::vector<std::vector<face>> outward_of(const std::vector<block>& blocks) {
    std::vector<std::vector<face>> outward;
    outward.reserve(blocks.size());
    for (const block& b : blocks)
        outward.push_back(outward_faces(b));
    return outward;
}

} // namespace

namespace detail {

void append_triple(std::string& out, const char* prefix, const xyz& v) {
    out += prefix;
    append_coordinates(out, v);
    out += '\n';
}

std::string vtk_head(const char* title, const vec3& centre, const std::string& fault_label,
                     const std::vector<std::string>& labels) {
    std::string out =
        std::string("# vtk DataFile Version 3.0\n") + title + "\nASCII\nDATASET POLYDATA\n";
    out += "FIELD FieldData " + std::to_string(1 + !fault_label.empty() + !labels.empty()) + "\n";
    append_triple(out, "centre 3 1 double\n", to_xyz(centre));
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
                                      const std::vector<std::string>& labels) {
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

void append_cell_scalars(std::string& out, const char* name,
                         const std::vector<std::int32_t>& values) {
    out += "SCALARS " + std::string(name) + " int 1\nLOOKUP_TABLE default\n";
    for (const std::int32_t v : values)
        out += std::to_string(v) + "\n";
}

} // namespace detail

int loaded_fault_of(int face_source, const fault_order& order) {
    if (!face_source_is_cut(face_source))
        return -1;
    const int position = cut_fault(face_source);
    return order.run == run_kind::restoration ? position
                                              : static_cast<int>(order.count) - 1 - position;
}

std::string blocks_to_vtk(const std::vector<block>& blocks, const vec3& centre,
                          const std::string& fault_label, const fault_order& order) {
    const std::vector<std::vector<face>> outward = outward_of(blocks);
    return detail::vtk_blocks_text(record_blocks{blocks, outward}, centre, fault_label, order);
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
    std::string out = detail::vtk_head("tolvex tracers", centre, fault_label);
    out += "POINTS " + n + " double\n";
    for (const vec3& p : tracers)
        detail::append_triple(out, "", to_xyz(placed(p, centre)));
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
        append_coordinates(out, to_xyz(placed(tracers[i], centre)));
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
    return blocks_to_vtp(blocks, outward_of(blocks), centre, fault_label, order);
}

std::string blocks_to_vtp(const std::vector<block>& blocks,
                          std::span<const std::vector<face>> outward, const vec3& centre,
                          const std::string& fault_label, const fault_order& order) {
    return detail::vtp_blocks_text(record_blocks{blocks, outward}, centre, fault_label, order);
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
    d.field_data = detail::vtp_field_data(centre, fault_label);
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
            detail::append_triple(out, "v ", to_xyz(placed(v, centre)));
        for (const face& f : faces)
            detail::append_triple(out, "vn ", to_xyz(f.normal));
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
