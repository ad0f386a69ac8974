// VTK XML PolyData (.vtp) as ParaView writes it by default: an XML head naming each array, and the
// arrays appended raw after it, each compressed with zlib in blocks. Several times smaller and
// faster to read than the legacy ASCII form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tolvex {

// One data array: its name, VTK type ("Float64", "Int64", "Int32", "UInt8", "String"), components
// per tuple and its bytes in this machine's (little-endian) order. A String array holds its
// values one after the other, each ended by a zero byte.
struct vtp_array {
    std::string name;
    std::string type;
    int components = 1;
    std::string bytes;
    bool packed = false; // bytes already compressed as the file holds them (vtp_pack)
};

// The arrays of one array of type T.
template <class T> std::string array_bytes(const std::vector<T>& values) {
    return {reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T)};
}

// Points, vertex cells and polygon cells (connectivity and end offsets, VTK's form), with point,
// cell and field data.
struct vtp_polydata {
    std::vector<double> points; // x, y, z of each point
    std::vector<std::int64_t> vertex_connectivity, vertex_offsets;
    std::vector<std::int64_t> polygon_connectivity, polygon_offsets;
    // Vertex cells that recur file after file: their count and their connectivity and offsets
    // packed (vtp_pack), used instead of the two lists when given.
    std::size_t packed_vertex_count = 0;
    std::vector<vtp_array> packed_vertex_cells;
    std::vector<vtp_array> point_data, cell_data, field_data;
    std::string point_scalars, cell_scalars, cell_normals; // attribute names, or empty
};

// The whole .vtp file.
std::string vtp_text(const vtp_polydata& data);

// The array compressed as a file holds it, for an array that many files repeat; not for strings.
vtp_array vtp_pack(vtp_array a);

// The connectivity and offsets of count vertex cells, one point each in order, packed.
std::vector<vtp_array> packed_vertex_cells(std::size_t count);

// A string array of one value, for field data.
vtp_array vtp_string(const std::string& name, const std::string& value);

} // namespace tolvex
