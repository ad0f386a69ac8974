#include "run_files.hpp"

#include "input_error.hpp"
#include "tracer_file.hpp"

#include <utility>

namespace tolvex {

std::string tracer_failure_text(const std::string& name) {
    return "Failed to load tracer points from [" + name + "].";
}

block read_run_inputs(const run_files& files, const warn_fn& warn, point_list& tracers) {
    std::optional<block> read = read_boundary_file(files.boundary_path);
    if (!read && warn)
        warn(boundary_warning_text(files.boundary_path));
    block boundary = read ? std::move(*read) : block{};

    if (!read_tracer_file(files.tracer_path, files.tracer_radius, tracers))
        throw tracer_file_missing(tracer_failure_text(files.tracer_name));
    if (boundary.vertices.empty())
        throw run_aborted("The boundary [" + files.boundary_path +
                          "] has no vertices, so there is no model to cut.");
    return boundary;
}

model_result run_model_files(const run_files& files, const std::vector<fault>& faults,
                             const warn_fn& warn) {
    point_list tracers;
    block boundary = read_run_inputs(files, warn, tracers);
    return run_model(std::move(boundary), faults, tracers);
}

} // namespace tolvex
