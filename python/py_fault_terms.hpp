// Faults in a geologist's terms from Python: Fault.from_orientation and save_faults.
#pragma once

#include <pybind11/pybind11.h>

namespace tolvex {

// Adds Fault.from_orientation (after add_fault_type), save_faults and fit_fault_plane to m.
void add_fault_terms(pybind11::module_& m);

} // namespace tolvex
