// Between NumPy arrays (or anything NumPy reads as one) and the model's points, vectors and
// index lists. Every check names the argument: a wrong kind of number raises TypeError, a wrong
// shape or a value that is not finite raises ValueError, an index outside the int range
// OverflowError. Any layout, byte order or dtype NumPy converts is read exactly.
#pragma once

#include "geometry/block.hpp"
#include "geometry/horizon.hpp"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolvex {

// An (N, 3) array of real numbers (any size-0 array for none) as points.
point_list points_from_array(pybind11::handle values, const std::string& what);

// A sequence of three real numbers as a vector.
vec3 vector_from_array(pybind11::handle values, const std::string& what);

// A one-dimensional sequence of real numbers as doubles.
std::vector<double> numbers_from_array(pybind11::handle values, const std::string& what);

// A one-dimensional sequence of integers (each within the int range) as an index list.
index_list indices_from_array(pybind11::handle values, const std::string& what);

// A (T, 3) array of integers (each within the int range) as triangles, not checked against any
// vertex count.
std::vector<triangle> triangles_from_array(pybind11::handle values, const std::string& what);

// a, made read-only. Results are values: an array that looks editable but was a copy would lose
// the edits unseen.
template <class T> pybind11::array_t<T> read_only(pybind11::array_t<T> a) {
    a.attr("setflags")(pybind11::arg("write") = false);
    return a;
}

// A read-only (N, 3) float64 array of the points.
pybind11::array_t<double> array_from_points(const point_list& points);

// A read-only (3,) float64 array of the vector.
pybind11::array_t<double> array_from_vector(const vec3& v);

// A read-only int64 array of the indices.
pybind11::array_t<std::int64_t> array_from_indices(std::span<const int> indices);

// A read-only (E, 2) int64 array of the edges' vertex indices.
pybind11::array_t<std::int64_t> array_from_edges(const std::vector<edge>& edges);

// A read-only (T, 3) int64 array of the triangles' corner indices.
pybind11::array_t<std::int64_t> array_from_triangles(const std::vector<triangle>& triangles);

} // namespace tolvex
