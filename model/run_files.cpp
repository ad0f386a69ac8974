#include "run_files.hpp"

#include "input_error.hpp"
#include "tracer_file.hpp"

#include <algorithm>
#include <set>
#include <utility>

namespace tolvex {

std::string tracer_failure_text(const std::string& name) {
    return "Failed to load tracer points from [" + name + "].";
}

namespace {

// Cutting relies on every side of a face being an edge of the block; a boundary that breaks this
// is rejected before the run rather than failing halfway through a cutting run.
void check_boundary_shape(const block& b, const std::string& path) {
    std::set<std::pair<int, int>> sides;
    for (const edge& e : b.edges)
        sides.insert(std::minmax(e[0], e[1]));
    for (std::size_t k = 0; k < b.faces.size(); ++k) {
        const index_list& corners = b.faces[k].indices;
        const std::string name = "face " + std::to_string(k + 1) + " (FACE= line " +
                                 std::to_string(k + 1) + " of the file)";
        if (corners.empty())
            continue; // a face without corners draws and cuts nothing
        if (corners.size() < 3)
            throw input_error(path, 0, name + " has fewer than three corners");
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const int a = corners[i], c = corners[(i + 1) % corners.size()];
            if (!sides.count(std::minmax(a, c)))
                throw input_error(path, 0,
                                  name + ": its side from vertex " + std::to_string(a) +
                                      " to vertex " + std::to_string(c) +
                                      " is not an edge (no EDGE= line joins them)");
        }
    }
}

} // namespace

block read_run_inputs(const run_files& files, const warn_fn& warn, point_list& tracers) {
    std::optional<block> read = read_boundary_file(files.boundary_path);
    if (!read && warn)
        warn(boundary_warning_text(files.boundary_path));
    block boundary = read ? std::move(*read) : block{};
    check_boundary_shape(boundary, files.boundary_path);

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
