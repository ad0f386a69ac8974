#include "block_export.hpp"

#include "atomic_file.hpp"
#include "number_text.hpp"

namespace tolvex {

namespace {

void append_triple(std::string& out, const char* prefix, const vec3& v) {
    out += prefix;
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            out += ' ';
        append_shortest(out, v[i]);
    }
    out += '\n';
}

bool ends_with(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

std::string blocks_to_vtk(const std::vector<block>& blocks) {
    std::size_t points = 0, polygons = 0, polygon_ints = 0;
    for (const block& b : blocks) {
        points += b.vertices.size();
        polygons += b.faces.size();
        for (const face& f : b.faces)
            polygon_ints += 1 + f.indices.size();
    }
    std::string out = "# vtk DataFile Version 3.0\ntolvex blocks\nASCII\nDATASET POLYDATA\n";
    out += "POINTS " + std::to_string(points) + " double\n";
    for (const block& b : blocks)
        for (const vec3& v : b.vertices)
            append_triple(out, "", v);

    out += "POLYGONS " + std::to_string(polygons) + " " + std::to_string(polygon_ints) + "\n";
    std::size_t base = 0;
    for (const block& b : blocks) {
        for (const face& f : b.faces) {
            out += std::to_string(f.indices.size());
            for (int i : f.indices)
                out += " " + std::to_string(base + static_cast<std::size_t>(i));
            out += '\n';
        }
        base += b.vertices.size();
    }

    out +=
        "CELL_DATA " + std::to_string(polygons) + "\nSCALARS block int 1\nLOOKUP_TABLE default\n";
    for (std::size_t n = 0; n < blocks.size(); ++n)
        for (std::size_t k = 0; k < blocks[n].faces.size(); ++k)
            out += std::to_string(n) + "\n";
    out += "NORMALS normals double\n";
    for (const block& b : blocks)
        for (const face& f : b.faces)
            append_triple(out, "", f.normal);
    return out;
}

std::string blocks_to_obj(const std::vector<block>& blocks) {
    std::string out = "# tolvex blocks\n";
    std::size_t vertex_base = 1, normal_base = 1; // OBJ counts from 1 across the whole file
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        const block& b = blocks[n];
        out += "o block_" + std::to_string(n) + "\n";
        for (const vec3& v : b.vertices)
            append_triple(out, "v ", v);
        for (const face& f : b.faces)
            append_triple(out, "vn ", f.normal);
        for (std::size_t k = 0; k < b.faces.size(); ++k) {
            out += 'f';
            const std::string normal = std::to_string(normal_base + k);
            for (int i : b.faces[k].indices)
                out +=
                    " " + std::to_string(vertex_base + static_cast<std::size_t>(i)) + "//" + normal;
            out += '\n';
        }
        vertex_base += b.vertices.size();
        normal_base += b.faces.size();
    }
    return out;
}

void write_blocks_file(const std::string& path, const std::vector<block>& blocks) {
    write_file_atomically(path,
                          ends_with(path, ".obj") ? blocks_to_obj(blocks) : blocks_to_vtk(blocks));
}

} // namespace tolvex
