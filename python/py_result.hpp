// The result of a run as Python objects: Result, RunState and Step.
#pragma once

#include "model/model_run.hpp"

#include <optional>
#include <pybind11/pybind11.h>
#include <vector>

namespace tolvex {

// One recorded step of a cutting run, its fault held as loaded (slip_dir restoring).
struct step_record {
    std::size_t step = 0;
    std::optional<fault> applied;
    std::vector<block> blocks;
    point_list tracers;
    horizon_pieces horizons;
};

// Everything a run gives, made without the interpreter: the result, the centre subtracted from
// the boundary, and each run's steps when they were recorded.
struct run_output {
    model_result result;
    vec3 centre;
    std::optional<std::vector<step_record>> restored_steps;
    std::optional<std::vector<step_record>> forward_steps;
    std::optional<double> tracer_radius; // the tracer files' scale, when files were read
};

// A step callback that records every step into out's step lists (which it sets).
step_fn step_recorder(run_output& out);

// Adds Result, RunState and Step to m.
void add_result_types(pybind11::module_& m);

// The Result object of out.
pybind11::object result_object(run_output&& out);

} // namespace tolvex
