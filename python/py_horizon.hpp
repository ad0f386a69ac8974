// The Horizon class: one triangulated surface given to a run, and the reader of horizon files.
#pragma once

#include "geometry/horizon.hpp"

#include <pybind11/pybind11.h>
#include <vector>

namespace tolvex {

// Adds Horizon and read_horizons to m.
void add_horizon_type(pybind11::module_& m);

// The horizons argument of run and run_files: None for none, a list (any iterable) of Horizon,
// or the path of a horizon file, read with its warnings issued as UserWarning. TypeError for
// anything else.
std::vector<horizon> horizons_for_run(pybind11::handle horizons);

} // namespace tolvex
