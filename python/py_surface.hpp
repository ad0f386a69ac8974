// The Surface class: a triangulated surface a run made (a horizon's pieces, a fault's wall) as
// NumPy arrays in the boundary file's coordinates, with integer values per triangle.
#pragma once

#include "formats/surface_export.hpp"
#include "geometry/polygon_list.hpp"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace tolvex {

struct surface_view {
    std::string name;
    pybind11::array_t<double> vertices;
    pybind11::array_t<std::int64_t> triangles;
    pybind11::dict cell_data; // str: (T,) int64, one value per triangle
};

// A value per polygon, which each of its triangles takes as cell data name.
using polygon_column = std::pair<std::string, std::span<const int>>;

// One surface per name: polygon p, moved by centre, is fanned into triangles sharing its corners
// in the surface group[p]. Corners and values are copied once, straight into the arrays.
std::vector<surface_view> fanned_surfaces(const polygon_list& polygons, std::span<const int> group,
                                          const std::vector<std::string>& names,
                                          const std::vector<polygon_column>& columns,
                                          const vec3& centre);

// The horizons of a run as one surface per horizon (empty when none of it is left), named as
// given, with cell data horizon (its position), block and triangle (the horizon's triangle
// each piece was cut from): the writers' values.
pybind11::list horizon_surface_list(const horizon_pieces& pieces,
                                    const std::vector<horizon>& horizons, const vec3& centre);

// The walls of faults (the run's faults, in its order): one surface per fault and side that has
// one, the + wall first, named as the writers name them, with cell data fault (the position in
// faults), side and block.
pybind11::list fault_wall_list(const fault_surfaces& walls, const std::vector<fault>& faults,
                               const vec3& centre);

// Appends s to set as the writers hold a surface: its vertices and triangles, and per triangle
// the values its cell data holds for each of set's cell data names, each value v as map(name, v).
void append_surface(surface_set& set, const surface_view& s,
                    const std::function<int(const std::string&, std::int64_t)>& map);

// Adds Surface to m.
void add_surface_type(pybind11::module_& m);

} // namespace tolvex
