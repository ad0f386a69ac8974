// The result of a run as Python objects: Result, RunState and Step.
#pragma once

#include "model/model_run.hpp"
#include "python/kept_steps.hpp"

#include <memory>
#include <optional>
#include <pybind11/pybind11.h>
#include <vector>

namespace tolvex {

// Everything a run gives, made without the interpreter: the result, the centre subtracted from
// the boundary, and each run's steps when they were recorded.
struct run_output {
    model_result result;
    vec3 centre;
    std::shared_ptr<kept_steps> restored_steps; // null unless steps were kept
    std::shared_ptr<kept_steps> forward_steps;
    std::optional<double> tracer_radius; // the tracer files' scale, when files were read
    bool boundary_frame = false; // blocks, tracers and fault points in the boundary's coordinates
};

// Whether coordinates, the keyword of run and run_files, asks for the boundary file's
// coordinates ('boundary') rather than the centred ones ('centred'); TypeError or ValueError
// naming it otherwise.
bool boundary_frame_named(pybind11::handle coordinates);

// A step callback for run_model's on_change that keeps every step into out's step lists (which
// it sets).
step_change_fn step_recorder(run_output& out);

// Adds Result, RunState and Step to m.
void add_result_types(pybind11::module_& m);

// The Result object of out.
pybind11::object result_object(run_output&& out);

} // namespace tolvex
