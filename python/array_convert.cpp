#include "array_convert.hpp"

#include "py_errors.hpp"
#include "scalar_convert.hpp"

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

// Reads the integers of a one-dimensional array as T, which holds all of them exactly.
template <class T> index_list checked_indices(const py::array& a, const std::string& what) {
    const auto held = converted<T>(a);
    const auto r = held.template unchecked<1>();
    index_list indices;
    indices.reserve(r.shape(0));
    for (py::ssize_t i = 0; i < r.shape(0); ++i) {
        if (std::cmp_less(r(i), INT_MIN) || std::cmp_greater(r(i), INT_MAX))
            raise_out_of_int_range(what + "[" + std::to_string(i) + "]", std::to_string(r(i)));
        indices.push_back(static_cast<int>(r(i)));
    }
    return indices;
}

// Results are values: an array that looks editable but was a copy would lose the edits unseen.
template <class T> py::array_t<T> read_only(py::array_t<T> a) {
    a.attr("setflags")(py::arg("write") = false);
    return a;
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
    // Unsigned 64-bit values past the signed range would wrap in an int64 copy.
    return a.dtype().kind() == 'u' ? checked_indices<std::uint64_t>(a, what)
                                   : checked_indices<std::int64_t>(a, what);
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
    py::array_t<std::int64_t> a({static_cast<py::ssize_t>(edges.size()), py::ssize_t{2}});
    auto w = a.mutable_unchecked<2>();
    for (std::size_t i = 0; i < edges.size(); ++i)
        for (int j = 0; j < 2; ++j)
            w(i, j) = edges[i][j];
    return read_only(std::move(a));
}

} // namespace tolvex
