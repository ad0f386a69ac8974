// The input files of one model run and the reading of them in the run's order.
#pragma once

#include "boundary_file.hpp"
#include "model_run.hpp"

#include <string>

namespace tolvex {

// Where a run takes its input from.
struct run_files {
    std::string boundary_path; // full path of the boundary file
    std::string tracer_path;   // full path of the tracer file
    std::string tracer_name;   // the tracer file's name as given, for the failure message
    double tracer_radius = 100.0;
};

// "Failed to load tracer points from [name]."
std::string tracer_failure_text(const std::string& name);

// Reads the boundary, then the tracers into tracers, and returns the boundary. warn receives the
// boundary warning when the boundary file cannot be opened. Throws input_error on bad boundary or
// tracer data (tracers then holds the points before the bad line), run_aborted when the tracer
// file cannot be opened (tracers untouched) or the boundary has no vertices.
block read_run_inputs(const run_files& files, const warn_fn& warn, point_list& tracers);

// read_run_inputs, then run_model on the given faults.
model_result run_model_files(const run_files& files, const std::vector<fault>& faults,
                             const warn_fn& warn);

} // namespace tolvex
