#include "model_run.hpp"

#include "cut_block.hpp"
#include "file_paths.hpp"
#include "input_error.hpp"
#include "model_lists.hpp"
#include "tolvex_conf.hpp"
#include "tracer_file.hpp"
#include "vector_utils.hpp"

#include <algorithm>
#include <numeric>
#include <set>
#include <utility>

namespace tolvex {

run_files configured_run_files() {
    const tolvex_conf& conf = tolvex_conf::get_instance();
    const std::string dir = executable_dir();
    return {join_path(dir, conf.boundary_file), join_path(dir, conf.tracer_file), conf.tracer_file,
            conf.tracer_radius};
}

std::string tracer_failure_text(const std::string& name) {
    return "Failed to load tracer points from [" + name + "].";
}

namespace {

// One cutting run from blocks_init and tracers_init: the first block starts with every fault
// and every tracer, in increasing order.
std::vector<block> cutting_run(std::vector<fault>& faults, point_list& tracers) {
    tracers = tracers_init;
    std::vector<block> blocks = blocks_init;
    block& first = blocks.front();
    first.fault_indices.resize(faults.size());
    std::iota(first.fault_indices.begin(), first.fault_indices.end(), 0);
    first.tracer_indices.resize(tracers.size());
    std::iota(first.tracer_indices.begin(), first.tracer_indices.end(), 0);
    return cut_block(std::move(blocks), faults, tracers);
}

// Cutting relies on every side of a face being an edge of the block; a boundary that breaks this
// is rejected before any list changes rather than failing halfway through a cutting run.
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

void run_model(const run_files& files, const warn_fn& warn) {
    std::optional<block> read = read_boundary_file(files.boundary_path);
    if (!read && warn)
        warn(boundary_warning_text(files.boundary_path));
    block boundary = read ? std::move(*read) : block{};
    check_boundary_shape(boundary, files.boundary_path);

    if (!read_tracer_file(files.tracer_path, files.tracer_radius, tracers_init))
        throw run_aborted(tracer_failure_text(files.tracer_name));
    if (boundary.vertices.empty())
        throw run_aborted("The boundary [" + files.boundary_path +
                          "] has no vertices, so there is no model to cut.");

    // Every run starts from the faults as loaded, never from where an earlier run left them.
    faults_retro = faults_loaded;
    faults_pro.clear();
    blocks_init.clear();

    // Centre the boundary and the fault points on the boundary's vertex mean; tracer files are
    // already written relative to that centre, so tracers stay as read.
    const vec3 c = centroid(boundary.vertices);
    for (fault& f : faults_retro)
        f.point -= c;
    for (vec3& v : boundary.vertices)
        v -= c;
    blocks_init.push_back(std::move(boundary));

    blocks_retro = cutting_run(faults_retro, tracers_retro);

    // The forward faults: oldest first, with the slip as the file gives it, and the fault points
    // where the restoration left them.
    faults_pro.reserve(faults_retro.size());
    for (auto it = faults_retro.rbegin(); it != faults_retro.rend(); ++it) {
        fault f = *it;
        f.slip_dir = -f.slip_dir;
        faults_pro.push_back(std::move(f));
    }
    blocks_pro = cutting_run(faults_pro, tracers_pro);
}

} // namespace tolvex
