// The input files of one model run and the reading of them in the run's order.
#pragma once

#include "formats/boundary_file.hpp"
#include "geometry/horizon.hpp"
#include "model/model_run.hpp"

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

namespace tolvex {

// Where a run takes its input from.
struct run_files {
    std::string boundary_path; // full path of the boundary file
    std::string tracer_path;   // full path of the tracer file
    std::string tracer_name;   // the tracer file's name as given, for the failure message
    double tracer_radius = 100.0;
    std::string horizon_path; // full path of the horizon file; empty when the run has none
    // Full paths of the present-day horizons, which only the restoration carries, and of the
    // undeformed ones, which only the forward run carries; empty for none.
    std::string present_horizon_path;
    std::string undeformed_horizon_path;
};

// "Failed to load tracer points from [name]."
std::string tracer_failure_text(const std::string& name);

// What an input file is to the run.
enum class input_role { boundary, tracers };

// An input file of the run that does not exist or cannot be opened, with its path, role and the
// errno of opening it (ENOENT for a missing one); what() is the text the desktop program shows
// under "ABORT", with the system's reason added when the file exists.
class missing_input_file : public run_aborted {
  public:
    missing_input_file(const std::string& what, std::string path, input_role role,
                       int error_number = ENOENT)
        : run_aborted(what), path_(std::move(path)), role_(role), error_number_(error_number) {}
    const std::string& path() const { return path_; }
    input_role role() const { return role_; }
    int error_number() const { return error_number_; }

  private:
    std::string path_;
    input_role role_;
    int error_number_;
};

// Reads the boundary, then the tracers into tracers, and returns the boundary. warn receives the
// boundary warning when the boundary file does not exist or cannot be opened (then with the
// system's reason); note, when set, receives
// "path:line: reason" for what is used as given but doubtful: a FACE= normal that does not point
// out, and tracers that lie outside the boundary (their count, at the first one's line). Throws
// input_error when a file cannot be read after opening and on bad boundary or tracer data
// (tracers then holds the points before the bad line), missing_input_file when the tracer file
// does not exist or cannot be opened (tracers untouched; what() is tracer_failure_text of its
// name, with the system's reason for one that exists) and, after the tracers
// are read, when the boundary file does not exist (what() says the boundary has no vertices),
// and run_aborted when the boundary has no vertices.
block read_run_inputs(const run_files& files, const warn_fn& warn, point_list& tracers,
                      const warn_fn& note = {});

// The horizons of the run's horizon files put into options: the horizon file's for both runs, the
// present-day and the undeformed file's for one run each; none of a file it does not name. note,
// when set, receives the reader's warnings; throws as read_horizon_file does.
void read_run_horizons(const run_files& files, run_options& options, const warn_fn& note = {});

// The paths of the horizon files files names, joined by ", ": what a horizon warning is about.
std::string horizon_paths_text(const run_files& files);

} // namespace tolvex
