#include "formats/run_files.hpp"

#include "formats/horizon_file.hpp"
#include "formats/tracer_file.hpp"
#include "geometry/vector_utils.hpp"
#include "io/input_error.hpp"
#include "io/text_lines.hpp"
#include "model/boundary_reach.hpp"

#include <cerrno>
#include <cstring>
#include <optional>
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

// " Permission denied." for a file that exists but cannot be opened; nothing for a missing one,
// whose message says so already.
std::string system_reason(int error_number) {
    return error_number == ENOENT ? "" : " " + std::string(std::strerror(error_number)) + ".";
}

} // namespace

block read_run_inputs(const run_files& files, const warn_fn& warn, point_list& tracers,
                      const warn_fn& note) {
    // A boundary file that exists but cannot be opened (no permission, a folder) is treated as
    // a missing one, with the system's reason added.
    std::optional<block> read;
    int boundary_errno = ENOENT;
    try {
        read = read_boundary_file(files.boundary_path, note);
    } catch (const open_error& e) {
        boundary_errno = e.error_number();
    }
    if (!read && warn)
        warn(boundary_warning_text(files.boundary_path) + system_reason(boundary_errno));
    block boundary = read ? std::move(*read) : block{};

    std::optional<std::string> text;
    int tracer_errno = ENOENT;
    try {
        text = reading_file(files.tracer_path, [&] { return read_text_file(files.tracer_path); });
    } catch (const open_error& e) {
        tracer_errno = e.error_number();
    }
    if (!text)
        throw missing_input_file(tracer_failure_text(files.tracer_name) +
                                     system_reason(tracer_errno),
                                 files.tracer_path, input_role::tracers, tracer_errno);
    reading_file(files.tracer_path, [&] {
        parse_tracer_text(*text, files.tracer_path, files.tracer_radius, tracers);
    });
    if (boundary.vertices.empty()) {
        const std::string what = "The boundary [" + files.boundary_path +
                                 "] has no vertices, so there is no model to cut.";
        if (!read)
            throw missing_input_file(what, files.boundary_path, input_role::boundary,
                                     boundary_errno);
        throw run_aborted(what);
    }
    if (note)
        note_tracers_outside(boundary, tracers, *text, files.tracer_path, note);
    return boundary;
}

void read_run_horizons(const run_files& files, run_options& options, const warn_fn& note) {
    const auto read = [&note](const std::string& path) {
        return path.empty() ? std::vector<horizon>{} : read_horizon_file(path, note);
    };
    options.horizons = read(files.horizon_path);
    options.present_horizons = read(files.present_horizon_path);
    options.undeformed_horizons = read(files.undeformed_horizon_path);
}

std::string horizon_paths_text(const run_files& files) {
    std::string text;
    for (const std::string* path :
         {&files.horizon_path, &files.present_horizon_path, &files.undeformed_horizon_path})
        if (!path->empty())
            text += (text.empty() ? "" : ", ") + *path;
    return text;
}

} // namespace tolvex
