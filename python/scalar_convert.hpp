// Single Python values as the model's numbers and texts. Every check names the argument: a wrong
// kind of value raises TypeError, an integer outside the int range OverflowError, a float
// too large ValueError.
#pragma once

#include <pybind11/pybind11.h>

#include <optional>
#include <string>

namespace tolvex {

// Raises OverflowError: "what: value is out of range (-2147483648 to 2147483647)".
[[noreturn]] void raise_out_of_int_range(const std::string& what, const std::string& value);

// An integer (int, NumPy integer or anything with __index__) within the int range.
int int_from_value(pybind11::handle value, const std::string& what);

// A real number (int, float, NumPy number or anything with __float__), not checked for finiteness.
double real_from_value(pybind11::handle value, const std::string& what);

// None as no value, anything else as real_from_value reads it.
std::optional<double> optional_real_from_value(pybind11::handle value, const std::string& what);

// A str that names something written into files (a horizon, a fault, a tag): a ValueError for
// one with a control character.
std::string name_from_value(pybind11::handle value, const std::string& what);

} // namespace tolvex
