// The VTK writers of block lists, over any list that gives each block's vertices in the run's
// coordinates and its faces as outward_faces gives them: a list of records, or a step of a step
// history whose shapes' outward faces are found once. Both give the same bytes for the same
// blocks.
//
// A list has size() and at(n), and at(n) has vertex_count(), vertex(v), face_count(),
// corner_count(f), corner(f, k) (counter-clockwise seen from outside), normal(f) (outward, unit
// length) and source(f).
#pragma once

#include "formats/block_export.hpp"
#include "geometry/xyz.hpp"
#include "io/vtp_file.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace tolvex::detail {

// "x y z" after prefix, each at its shortest, and a line end.
void append_triple(std::string& out, const char* prefix, const xyz& v);

// A VTK legacy file's head with the dataset's field data.
std::string vtk_head(const char* title, const vec3& centre, const std::string& fault_label,
                     const std::vector<std::string>& labels = {});

std::vector<vtp_array> vtp_field_data(const vec3& centre, const std::string& fault_label,
                                      const std::vector<std::string>& labels = {});

void append_cell_scalars(std::string& out, const char* name,
                         const std::vector<std::int32_t>& values);

// Per face of every block in turn: the block's position and the loaded fault that made the face.
struct face_numbers {
    std::vector<std::int32_t> block, fault;
};

template <class Blocks>
face_numbers numbers_of_faces(const Blocks& blocks, const fault_order& order) {
    face_numbers out;
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        const auto b = blocks.at(n);
        for (std::size_t f = 0; f < b.face_count(); ++f) {
            out.block.push_back(static_cast<std::int32_t>(n));
            out.fault.push_back(loaded_fault_of(b.source(f), order));
        }
    }
    return out;
}

// How many vertices, faces and face corners the blocks of a list have between them.
struct list_totals {
    std::size_t points = 0, faces = 0, corners = 0;
};

template <class Blocks> list_totals totals_of(const Blocks& blocks) {
    list_totals t;
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        const auto b = blocks.at(n);
        t.points += b.vertex_count();
        t.faces += b.face_count();
        for (std::size_t f = 0; f < b.face_count(); ++f)
            t.corners += b.corner_count(f);
    }
    return t;
}

inline xyz placed(const xyz& p, const vec3& centre) {
    return {p[0] + centre[0], p[1] + centre[1], p[2] + centre[2]};
}

template <class Blocks>
std::string vtk_blocks_text(const Blocks& blocks, const vec3& centre,
                            const std::string& fault_label, const fault_order& order) {
    const list_totals totals = totals_of(blocks);
    std::string out = vtk_head("tolvex blocks", centre, fault_label, order.labels);
    out += "POINTS " + std::to_string(totals.points) + " double\n";
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        const auto b = blocks.at(n);
        for (std::size_t v = 0; v < b.vertex_count(); ++v)
            append_triple(out, "", placed(b.vertex(v), centre));
    }
    out += "POLYGONS " + std::to_string(totals.faces) + " " +
           std::to_string(totals.faces + totals.corners) + "\n";
    std::size_t base = 0;
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        const auto b = blocks.at(n);
        for (std::size_t f = 0; f < b.face_count(); ++f) {
            out += std::to_string(b.corner_count(f));
            for (std::size_t k = 0; k < b.corner_count(f); ++k)
                out += " " + std::to_string(base + static_cast<std::size_t>(b.corner(f, k)));
            out += '\n';
        }
        base += b.vertex_count();
    }
    const face_numbers numbers = numbers_of_faces(blocks, order);
    out += "CELL_DATA " + std::to_string(totals.faces) + "\n";
    append_cell_scalars(out, "block", numbers.block);
    append_cell_scalars(out, "fault", numbers.fault);
    out += "NORMALS normals double\n";
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        const auto b = blocks.at(n);
        for (std::size_t f = 0; f < b.face_count(); ++f)
            append_triple(out, "", b.normal(f));
    }
    return out;
}

template <class Blocks>
std::string vtp_blocks_text(const Blocks& blocks, const vec3& centre,
                            const std::string& fault_label, const fault_order& order) {
    vtp_polydata d;
    std::vector<double> normals;
    const list_totals totals = totals_of(blocks);
    d.points.reserve(3 * totals.points);
    d.polygon_connectivity.reserve(totals.corners);
    d.polygon_offsets.reserve(totals.faces);
    normals.reserve(3 * totals.faces);
    std::int64_t base = 0;
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        const auto b = blocks.at(n);
        for (std::size_t v = 0; v < b.vertex_count(); ++v) {
            const xyz p = placed(b.vertex(v), centre);
            d.points.insert(d.points.end(), p.begin(), p.end());
        }
        for (std::size_t f = 0; f < b.face_count(); ++f) {
            for (std::size_t k = 0; k < b.corner_count(f); ++k)
                d.polygon_connectivity.push_back(base + b.corner(f, k));
            d.polygon_offsets.push_back(static_cast<std::int64_t>(d.polygon_connectivity.size()));
            const xyz normal = b.normal(f);
            normals.insert(normals.end(), normal.begin(), normal.end());
        }
        base += static_cast<std::int64_t>(b.vertex_count());
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

} // namespace tolvex::detail
