// save_horizons and save_fault_surfaces: a run's surfaces written as the batch program writes them.
#pragma once

#include <pybind11/pybind11.h>

namespace tolvex {

// Adds save_horizons and save_fault_surfaces to m.
void add_surface_savers(pybind11::module_& m);

} // namespace tolvex
