// The Horizon class: one triangulated surface given to a run, and the reader of horizon files.
#pragma once

#include "geometry/horizon.hpp"
#include "model/model_run.hpp"

#include <pybind11/pybind11.h>
#include <vector>

namespace tolvex {

// Adds Horizon and read_horizons to m.
void add_horizon_type(pybind11::module_& m);

// The horizons argument of run and run_files: None for none, a list (any iterable) of Horizon,
// or the path of a horizon file, read with its warnings issued as UserWarning. TypeError for
// anything else.
std::vector<horizon> horizons_for_run(pybind11::handle horizons);

// The arguments horizons (both runs), present_horizons (the restoration only) and
// undeformed_horizons (the forward run only), each as horizons_for_run takes it, put into options;
// a ValueError for horizons with either of the others.
void put_run_horizons(run_options& options, pybind11::handle both, pybind11::handle present,
                      pybind11::handle undeformed);

} // namespace tolvex
