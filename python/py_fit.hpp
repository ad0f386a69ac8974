// The slip fit from Python: fit_slips on values.
#pragma once

#include <pybind11/pybind11.h>

namespace tolvex {

// Adds fit_slips to m.
void add_fit(pybind11::module_& m);

} // namespace tolvex
