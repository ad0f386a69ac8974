// One model run on the model lists: read, centre, restore, then run forward.
#pragma once

#include "boundary_file.hpp"

#include <stdexcept>
#include <string>

namespace tolvex {

// Where a run takes its input from.
struct run_files {
    std::string boundary_path; // full path of the boundary file
    std::string tracer_path;   // full path of the tracer file
    std::string tracer_name;   // the tracer file's name as configured, for the failure message
    double tracer_radius = 100.0;
};

// The run files of the configuration: its names joined to the executable's folder.
run_files configured_run_files();

// A run that cannot go on; what() is the text to show the user under the caption "ABORT".
class run_aborted : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// "Failed to load tracer points from [name]."
std::string tracer_failure_text(const std::string& name);

// Performs one run. Resets the lists a run fills and starts from faults_loaded, so a second run
// gives the same result as the first. warn receives the boundary warning when the boundary file
// cannot be opened. Throws run_aborted (tracer file missing, boundary without vertices) and
// input_error (bad boundary or tracer data); then only tracers_init may have changed.
void run_model(const run_files& files, const warn_fn& warn);

} // namespace tolvex
