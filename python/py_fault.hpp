// The Fault class: one fault with its slip as the fault data file gives it, the direction in
// which the side its normal points to moves in the forward run.
#pragma once

#include "geometry/fault.hpp"

#include <pybind11/pybind11.h>
#include <vector>

namespace tolvex {

// Adds Fault and faults_from_arrays to m. A Fault holds the fault as the file reader loads it
// (slip_dir restoring); its slip_direction attribute is the file's, forward one.
void add_fault_type(pybind11::module_& m);

// The Fault objects of faults (any iterable) in restoration order: by descending sequence number,
// faults with the same number in the order given. Throws TypeError for anything but a Fault.
std::vector<fault> faults_for_run(pybind11::handle faults);

} // namespace tolvex
