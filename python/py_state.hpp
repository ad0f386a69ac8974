// What the Result, RunState and Step objects hold: Python objects, made once when a run ends.
#pragma once

#include "model/model_run.hpp"
#include "python/kept_steps.hpp"

#include <memory>
#include <optional>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

namespace tolvex {

// A Step's blocks and tracers are made from its run's kept steps when first asked for, since
// most callers look at a few steps of the hundreds a run keeps.
struct step_view {
    std::size_t step = 0;
    pybind11::object fault;
    pybind11::object blocks;                // list of Block; None until made from kept
    pybind11::object tracers;               // array; None until made from kept
    pybind11::list horizons;                // of Surface, one per horizon given
    vec3 centre = make_vec3(0.0, 0.0, 0.0); // which save_horizons writes with the pieces
    std::shared_ptr<const kept_steps> kept; // the run's steps, while blocks or tracers are None
    std::size_t index = 0;                  // this step's in kept
    vec3 offset = make_vec3(0.0, 0.0, 0.0); // added to blocks and tracers made from kept
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
    // Added to blocks, tracers and fault points: the centre for the boundary file's
    // coordinates, else none. The writers take it off again.
    vec3 offset = make_vec3(0.0, 0.0, 0.0);
    pybind11::array_t<double> cutoffs;     // (M, 9): fault, horizon, wall, from, to
    pybind11::array_t<double> separations; // (S, 6): fault, horizon, along, throw, heave, dip
};

struct result_view {
    state_view restored;
    state_view forward;
    pybind11::object boundary;
    pybind11::array_t<double> centre;
    pybind11::list warnings;
};

} // namespace tolvex
