#include "python/array_convert.hpp"

#include "python/py_errors.hpp"
#include "python/scalar_convert.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <utility>

namespace tolvex {

namespace py = pybind11;

namespace {

py::array as_array(py::handle values, const std::string& what) {
    py::array a = py::array::ensure(values);
    if (!a)
        throw py::type_error(what + ": expected an array of numbers, got " + type_name(values));
    return a;
}

// kinds: NumPy's dtype kind letters that are accepted ("f" float, "i" signed, "u" unsigned). An
// empty array passes whatever its kind: NumPy reads an empty list as float64.
void require_kind(const py::array& a, const char* kinds, const std::string& what,
                  const std::string& expected) {
    if (a.size() != 0 && std::strchr(kinds, a.dtype().kind()) == nullptr)
        throw py::type_error(what + ": expected " + expected + ", got dtype " +
                             py::str(a.dtype()).cast<std::string>());
}

[[noreturn]] void wrong_shape(const py::array& a, const std::string& what,
                              const std::string& expected) {
    std::string shape = "(";
    for (py::ssize_t i = 0; i < a.ndim(); ++i)
        shape += (i > 0 ? ", " : "") + std::to_string(a.shape(i));
    shape += a.ndim() == 1 ? ",)" : ")";
    throw py::value_error(what + ": expected shape " + expected + ", got " + shape);
}

double finite(double x, const std::string& what) {
    if (!std::isfinite(x))
        throw py::value_error(what + " is not finite");
    return x;
}

// a as a native C-order array of T: a itself when it is one, else a converted copy. The caller
// keeps the returned array for as long as it reads it, since a view does not keep a copy alive.
template <class T>
py::array_t<T, py::array::c_style | py::array::forcecast> converted(const py::array& a) {
    auto c = py::array_t<T, py::array::c_style | py::array::forcecast>::ensure(a);
    if (!c)
        throw py::error_already_set();
    return c;
}

// Reads the integers of an array, flattened in C order, as T, which holds all of them exactly.
// Rows of width values name an out-of-range one as what[row, column]; width 1 as what[i].
template <class T>
index_list checked_indices(const py::array& a, const std::string& what, py::ssize_t width = 1) {
    const auto held = converted<T>(a);
    const T* values = held.data();
    index_list indices;
    indices.reserve(held.size());
    for (py::ssize_t i = 0; i < held.size(); ++i) {
        if (std::cmp_less(values[i], INT_MIN) || std::cmp_greater(values[i], INT_MAX))
            raise_out_of_int_range(
                what + "[" + std::to_string(i / width) +
                    (width > 1 ? ", " + std::to_string(i % width) : std::string()) + "]",
                std::to_string(values[i]));
        indices.push_back(static_cast<int>(values[i]));
    }
    return indices;
}

// The integers of a (signed or unsigned) integer array, as checked_indices reads them.
index_list int_values(const py::array& a, const std::string& what, py::ssize_t width = 1) {
    // Unsigned 64-bit values past the signed range would wrap in an int64 copy.
    return a.dtype().kind() == 'u' ? checked_indices<std::uint64_t>(a, what, width)
                                   : checked_indices<std::int64_t>(a, what, width);
}

// A read-only (R, N) int64 array of rows of N indices.
template <std::size_t N>
py::array_t<std::int64_t> array_from_rows(const std::vector<std::array<int, N>>& rows) {
    py::array_t<std::int64_t> a({static_cast<py::ssize_t>(rows.size()), py::ssize_t{N}});
    auto w = a.mutable_unchecked<2>();
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t j = 0; j < N; ++j)
            w(i, j) = rows[i][j];
    return read_only(std::move(a));
}

} // namespace

point_list points_from_array(py::handle values, const std::string& what) {
    const py::array a = as_array(values, what);
    require_kind(a, "fiu", what, "real numbers");
    // No points: [], or zero rows of any width. (N, 0) with N > 0 is a mistake.
    if (a.size() == 0 && (a.ndim() == 1 || (a.ndim() == 2 && a.shape(0) == 0)))
        return {};
    if (a.ndim() != 2 || a.shape(1) != 3)
        wrong_shape(a, what, "(N, 3)");
    const auto held = converted<double>(a);
    const auto r = held.unchecked<2>();
    point_list points;
    points.reserve(r.shape(0));
    for (py::ssize_t i = 0; i < r.shape(0); ++i) {
        const std::string row = what + "[" + std::to_string(i) + "]";
        points.push_back(
            make_vec3(finite(r(i, 0), row), finite(r(i, 1), row), finite(r(i, 2), row)));
    }
    return points;
}

vec3 vector_from_array(py::handle values, const std::string& what) {
    const py::array a = as_array(values, what);
    require_kind(a, "fiu", what, "real numbers");
    if (a.ndim() != 1 || a.shape(0) != 3)
        wrong_shape(a, what, "(3,)");
    const auto held = converted<double>(a);
    const auto r = held.unchecked<1>();
    return make_vec3(finite(r(0), what), finite(r(1), what), finite(r(2), what));
}

std::vector<double> numbers_from_array(py::handle values, const std::string& what) {
    const py::array a = as_array(values, what);
    require_kind(a, "fiu", what, "real numbers");
    if (a.ndim() != 1)
        wrong_shape(a, what, "(N,)");
    const auto held = converted<double>(a);
    const auto r = held.unchecked<1>();
    std::vector<double> numbers;
    numbers.reserve(r.shape(0));
    for (py::ssize_t i = 0; i < r.shape(0); ++i)
        numbers.push_back(finite(r(i), what + "[" + std::to_string(i) + "]"));
    return numbers;
}

index_list indices_from_array(py::handle values, const std::string& what) {
    const py::array a = as_array(values, what);
    require_kind(a, "iu", what, "integers");
    if (a.ndim() != 1)
        wrong_shape(a, what, "(K,)");
    return int_values(a, what);
}

std::vector<triangle> triangles_from_array(py::handle values, const std::string& what) {
    const py::array a = as_array(values, what);
    require_kind(a, "iu", what, "integers");
    if (a.size() == 0 && (a.ndim() == 1 || (a.ndim() == 2 && a.shape(0) == 0)))
        return {};
    if (a.ndim() != 2 || a.shape(1) != 3)
        wrong_shape(a, what, "(T, 3)");
    const index_list corners = int_values(a, what, 3);
    std::vector<triangle> triangles(corners.size() / 3);
    for (std::size_t i = 0; i < triangles.size(); ++i)
        std::copy_n(corners.begin() + static_cast<std::ptrdiff_t>(3 * i), 3, triangles[i].begin());
    return triangles;
}

py::array_t<double> array_from_points(const point_list& points) {
    py::array_t<double> a({static_cast<py::ssize_t>(points.size()), py::ssize_t{3}});
    auto w = a.mutable_unchecked<2>();
    for (std::size_t i = 0; i < points.size(); ++i)
        for (int j = 0; j < 3; ++j)
            w(i, j) = points[i][j];
    return read_only(std::move(a));
}

py::array_t<double> array_from_vector(const vec3& v) {
    py::array_t<double> a(3);
    auto w = a.mutable_unchecked<1>();
    for (int j = 0; j < 3; ++j)
        w(j) = v[j];
    return read_only(std::move(a));
}

py::array_t<std::int64_t> array_from_indices(std::span<const int> indices) {
    py::array_t<std::int64_t> a(static_cast<py::ssize_t>(indices.size()));
    std::copy(indices.begin(), indices.end(), a.mutable_data());
    return read_only(std::move(a));
}

py::array_t<std::int64_t> array_from_edges(const std::vector<edge>& edges) {
    return array_from_rows(edges);
}

py::array_t<std::int64_t> array_from_triangles(const std::vector<triangle>& triangles) {
    return array_from_rows(triangles);
}

} // namespace tolvex
