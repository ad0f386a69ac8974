#include "python/scalar_convert.hpp"

#include "io/name_text.hpp"
#include "python/py_errors.hpp"

#include <climits>

namespace tolvex {

namespace py = pybind11;

void raise_out_of_int_range(const std::string& what, const std::string& value) {
    const std::string text = what + ": " + value + " is out of range (" + std::to_string(INT_MIN) +
                             " to " + std::to_string(INT_MAX) + ")";
    PyErr_SetString(PyExc_OverflowError, text.c_str());
    throw py::error_already_set();
}

int int_from_value(py::handle value, const std::string& what) {
    // Floats have no __index__: 2.5 is not quietly cut to 2.
    if (!PyIndex_Check(value.ptr()))
        throw py::type_error(what + ": expected an integer, got " + type_name(value));
    const auto index = py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr()));
    if (!index)
        throw py::error_already_set();
    int overflow = 0;
    const long long n = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
    if (overflow == 0 && n == -1 && PyErr_Occurred())
        throw py::error_already_set();
    if (overflow != 0 || n < INT_MIN || n > INT_MAX)
        raise_out_of_int_range(what, py::str(index));
    return static_cast<int>(n);
}

double real_from_value(py::handle value, const std::string& what) {
    const double x = PyFloat_AsDouble(value.ptr());
    if (x == -1.0 && PyErr_Occurred()) {
        if (PyErr_ExceptionMatches(PyExc_OverflowError)) {
            PyErr_Clear();
            throw py::value_error(what + ": the number is too large for a float");
        }
        PyErr_Clear();
        throw py::type_error(what + ": expected a real number, got " + type_name(value));
    }
    return x;
}

std::optional<double> optional_real_from_value(py::handle value, const std::string& what) {
    if (value.is_none())
        return std::nullopt;
    return real_from_value(value, what);
}

std::string name_from_value(py::handle value, const std::string& what) {
    if (!PyUnicode_Check(value.ptr()))
        throw py::type_error(what + ": expected a str, got " + type_name(value));
    std::string name = value.cast<std::string>();
    if (has_control_char(name))
        throw py::value_error(control_char_reason(what, name));
    return name;
}

} // namespace tolvex
