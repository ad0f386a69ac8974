// What the Result, RunState and Step objects hold: Python objects, made once when a run ends.
#pragma once

#include "model/model_run.hpp"

#include <optional>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

namespace tolvex {

struct step_view {
    std::size_t step = 0;
    pybind11::object fault;
    pybind11::list blocks;
    pybind11::array_t<double> tracers;
    pybind11::list horizons;                // of Surface, one per horizon given
    vec3 centre = make_vec3(0.0, 0.0, 0.0); // which save_horizons writes with the pieces
};

struct state_view {
    pybind11::list blocks;
    pybind11::array_t<double> tracers;
    pybind11::list faults;
    pybind11::object steps;
    std::optional<double> tracer_radius;
    vec3 centre = make_vec3(0.0, 0.0, 0.0); // added back to what save_blocks writes
    pybind11::list horizons;                // of Surface, one per horizon given
    pybind11::list fault_surfaces;          // of Surface, one per fault wall
    run_kind run = run_kind::forward;       // how the files number the faults
};

struct result_view {
    state_view restored;
    state_view forward;
    pybind11::object boundary;
    pybind11::array_t<double> centre;
    pybind11::list warnings;
};

} // namespace tolvex
