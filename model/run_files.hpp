// The input files of one model run and the reading of them in the run's order.
#pragma once

#include "boundary_file.hpp"
#include "horizon.hpp"
#include "model_run.hpp"

#include <string>
#include <vector>

namespace tolvex {

// Where a run takes its input from.
struct run_files {
    std::string boundary_path; // full path of the boundary file
    std::string tracer_path;   // full path of the tracer file
    std::string tracer_name;   // the tracer file's name as given, for the failure message
    double tracer_radius = 100.0;
    std::string horizon_path; // full path of the horizon file; empty when the run has none
};

// "Failed to load tracer points from [name]."
std::string tracer_failure_text(const std::string& name);

// The run's tracer file does not exist; what() is tracer_failure_text of its name.
class tracer_file_missing : public run_aborted {
  public:
    using run_aborted::run_aborted;
};

// Reads the boundary, then the tracers into tracers, and returns the boundary. warn receives the
// boundary warning when the boundary file does not exist; note, when set, receives
// "path:line: reason" for what is used as given but doubtful: a FACE= normal that does not point
// out, and tracers that lie outside the boundary (their count, at the first one's line). Throws
// input_error when a file exists but cannot be read and on bad boundary or tracer data (tracers
// then holds the points before the bad line), tracer_file_missing when the tracer file does not
// exist (tracers untouched), and run_aborted when the boundary has no vertices.
block read_run_inputs(const run_files& files, const warn_fn& warn, point_list& tracers,
                      const warn_fn& note = {});

// The horizons of the run's horizon file, none when it names none. note, when set, receives the
// reader's warning; throws as read_horizon_file does.
std::vector<horizon> read_run_horizons(const run_files& files, const warn_fn& note = {});

} // namespace tolvex
