#include "formats/run_files.hpp"

#include "formats/horizon_file.hpp"
#include "formats/tracer_file.hpp"
#include "geometry/vector_utils.hpp"
#include "io/input_error.hpp"
#include "io/text_lines.hpp"
#include "model/boundary_reach.hpp"

#include <utility>

namespace tolvex {

std::string tracer_failure_text(const std::string& name) {
    return "Failed to load tracer points from [" + name + "].";
}

namespace {

// One note for all tracers outside the boundary, at the first one's line: tracers are relative to
// the boundary's centre.
void note_tracers_outside(block boundary, const point_list& tracers, const std::string& text,
                          const std::string& path, const warn_fn& note) {
    const vec3 centre = centroid(boundary.vertices);
    for (vec3& v : boundary.vertices)
        v -= centre;
    const points_outside outside = points_outside_boundary(boundary, tracers);
    if (outside.count == 0)
        return;
    const std::string count = std::to_string(outside.count);
    note(input_error(path, tracer_line(text, outside.first),
                     (outside.count == 1 ? "a tracer lies" : count + " tracers lie") +
                         std::string(" outside the boundary, the first on this line; tracer "
                                     "files are in units of TRACER_RADIUS, relative to the "
                                     "boundary's centre"))
             .what());
}

} // namespace

block read_run_inputs(const run_files& files, const warn_fn& warn, point_list& tracers,
                      const warn_fn& note) {
    std::optional<block> read = read_boundary_file(files.boundary_path, note);
    if (!read && warn)
        warn(boundary_warning_text(files.boundary_path));
    block boundary = read ? std::move(*read) : block{};

    const std::optional<std::string> text = read_text_file(files.tracer_path);
    if (!text)
        throw missing_input_file(tracer_failure_text(files.tracer_name), files.tracer_path,
                                 input_role::tracers);
    parse_tracer_text(*text, files.tracer_path, files.tracer_radius, tracers);
    if (boundary.vertices.empty()) {
        const std::string what = "The boundary [" + files.boundary_path +
                                 "] has no vertices, so there is no model to cut.";
        if (!read)
            throw missing_input_file(what, files.boundary_path, input_role::boundary);
        throw run_aborted(what);
    }
    if (note)
        note_tracers_outside(boundary, tracers, *text, files.tracer_path, note);
    return boundary;
}

std::vector<horizon> read_run_horizons(const run_files& files, const warn_fn& note) {
    if (files.horizon_path.empty())
        return {};
    return read_horizon_file(files.horizon_path, note);
}

} // namespace tolvex
