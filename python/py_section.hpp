// Cross-sections from Python: the same sections and drawings as tolvex-batch --section.
#pragma once

#include <pybind11/pybind11.h>

namespace tolvex {

// Adds section() and save_section() to m.
void add_section(pybind11::module_& m);

} // namespace tolvex
