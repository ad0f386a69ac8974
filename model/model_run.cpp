#include "model_run.hpp"

#include "cut_block.hpp"
#include "fault_checks.hpp"
#include "vector_utils.hpp"

#include <numeric>
#include <utility>

namespace tolvex {

namespace {

// One cutting run from the centred boundary: its one block starts with every fault and every
// tracer, in increasing order.
run_state cutting_run(const block& boundary, std::vector<fault> faults, point_list tracers,
                      run_kind kind, const step_fn& on_step) {
    block first = boundary;
    first.fault_indices.resize(faults.size());
    std::iota(first.fault_indices.begin(), first.fault_indices.end(), 0);
    first.tracer_indices.resize(tracers.size());
    std::iota(first.tracer_indices.begin(), first.tracer_indices.end(), 0);
    std::vector<block> blocks;
    blocks.push_back(std::move(first));
    if (!on_step) {
        blocks = cut_block(std::move(blocks), faults, tracers);
        return {std::move(blocks), std::move(tracers), std::move(faults)};
    }
    const std::size_t n = faults.size();
    on_step({kind, 0, n, nullptr, blocks, tracers});
    // The fault as it cut: its point before the pass may have moved it with its block.
    fault applied;
    cut_observer observe = [&](std::size_t k, const std::vector<block>& now,
                               const std::vector<fault>& now_faults, const point_list& moved) {
        on_step({kind, k + 1, n, &applied, now, moved});
        if (k + 1 < n)
            applied = now_faults[k + 1];
    };
    if (n > 0)
        applied = faults[0];
    blocks = cut_block(std::move(blocks), faults, tracers, observe);
    return {std::move(blocks), std::move(tracers), std::move(faults)};
}

} // namespace

model_result run_model(block boundary, std::vector<fault> faults, const point_list& tracers,
                       const step_fn& on_step) {
    if (boundary.vertices.empty())
        throw run_aborted("The boundary has no vertices, so there is no model to cut.");
    model_result result;
    result.warnings = fault_warnings(faults);

    const vec3 c = centroid(boundary.vertices);
    for (fault& f : faults)
        f.point -= c;
    for (vec3& v : boundary.vertices)
        v -= c;
    boundary.fault_indices.clear();
    boundary.tracer_indices.clear();
    result.boundary = std::move(boundary);

    result.restored =
        cutting_run(result.boundary, std::move(faults), tracers, run_kind::restoration, on_step);

    // The forward faults: oldest first, with the slip as the file gives it, and the fault points
    // where the restoration left them.
    std::vector<fault> forward;
    forward.reserve(result.restored.faults.size());
    for (auto it = result.restored.faults.rbegin(); it != result.restored.faults.rend(); ++it) {
        fault f = *it;
        f.slip_dir = -f.slip_dir;
        forward.push_back(std::move(f));
    }
    result.forward =
        cutting_run(result.boundary, std::move(forward), tracers, run_kind::forward, on_step);
    return result;
}

} // namespace tolvex
