#include "model/model_run.hpp"

#include "geometry/cut_block.hpp"
#include "geometry/vector_utils.hpp"
#include "model/boundary_reach.hpp"
#include "model/detail/fault_checks.hpp"
#include "model/fault_label.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <new>
#include <numeric>
#include <stdexcept>
#include <utility>

namespace tolvex {

namespace {

bool finite(const vec3& v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

bool all_finite(const point_list& points) {
    for (const vec3& p : points)
        if (!finite(p))
            return false;
    return true;
}

// Every coordinate of a model: block vertices and face normals, fault points, tracers.
bool model_finite(const std::vector<block>& blocks, const std::vector<fault>& faults,
                  const point_list& tracers) {
    for (const block& b : blocks) {
        if (!all_finite(b.vertices))
            return false;
        for (const face& f : b.faces)
            if (!finite(f.normal))
                return false;
    }
    for (const fault& f : faults)
        if (!finite(f.point))
            return false;
    return all_finite(tracers);
}

// "Out of memory in the forward run at fault 12 (sequence 5), step 3 of 10, with 6172 blocks."
std::string out_of_memory_text(run_kind kind, const std::vector<fault>& faults, std::size_t applied,
                               std::size_t blocks) {
    std::string text = std::string("Out of memory in the ") + run_name(kind) + " run";
    if (applied < faults.size())
        text += " at " + fault_label(faults[applied]) + ", step " + std::to_string(applied + 1) +
                " of " + std::to_string(faults.size());
    return text + ", with " + std::to_string(blocks) + (blocks == 1 ? " block." : " blocks.");
}

// The horizons a run carries, each in its place among the result's, and what they are. A run that
// carries all of them takes the result's list itself rather than a copy.
struct run_horizon_list {
    const std::vector<horizon>* all = nullptr; // the result's, when the run carries all of them
    std::vector<horizon> own;
    horizon_set set = horizon_set::none;
    const std::vector<horizon>& list() const { return all ? *all : own; }
};

run_horizon_list horizons_carried(const model_result& result, run_kind run) {
    const auto& sets = result.horizon_sets;
    const bool all = std::ranges::all_of(sets, [run](horizon_set s) { return carries(run, s); });
    run_horizon_list carried{all ? &result.horizons : nullptr,
                             all ? std::vector<horizon>{} : run_horizons(result, run)};
    for (const horizon_set set : sets)
        if (carries(run, set))
            carried.set = set;
    return carried;
}

// A cutting run that tells its steps as what changed: the kernel's flat set and its step reports,
// so that no step is built whole.
run_state changing_run(block start, std::vector<fault> faults, point_list tracers,
                       const run_horizon_list& horizons, run_kind kind,
                       const step_change_fn& on_change, bool keep_blocks,
                       const cut_progress& progress) {
    const std::size_t n = faults.size();
    on_change({kind, 0, n, nullptr, &start, nullptr, tracers, horizons.list(),
               make_vec3(0.0, 0.0, 0.0), horizons.set});
    fault applied = n > 0 ? faults[0] : fault{};
    const cut_step_observer observe = [&](const cut_step& step, const std::vector<fault>& now,
                                          const point_list& moved) {
        const std::size_t k = step.fault_position;
        on_change({kind, k + 1, n, &applied, nullptr, &step, moved, horizons.list(),
                   make_vec3(0.0, 0.0, 0.0), horizons.set});
        if (k + 1 < n)
            applied = now[k + 1];
    };
    const block_set set = cut_block_set({std::move(start)}, faults, tracers, progress, 0, observe);
    const std::size_t count = block_count(set);
    horizon_pieces pieces = pieces_in_blocks(set, horizons.list());
    return {keep_blocks ? to_blocks(set) : std::vector<block>{},
            std::move(tracers),
            std::move(faults),
            count,
            std::move(pieces),
            horizons.set};
}

// One cutting run from the centred boundary; its final blocks are built only when keep_blocks is
// set or steps are shown. after_fault, when set, is told how many of the run's faults are applied
// after each (and again while the blocks are built).
run_state cutting_run(const block& boundary, std::vector<fault> faults, point_list tracers,
                      const run_horizon_list& horizons, run_kind kind, const step_fn& on_step,
                      const step_change_fn& on_change, bool keep_blocks,
                      const std::function<void(std::size_t)>& after_fault) {
    const std::size_t n = faults.size();
    // How far the run got, for the message when memory runs out; updated once per fault.
    std::size_t applied_count = 0, block_count = 1;
    try {
        std::vector<block> blocks;
        blocks.push_back(start_block(boundary, n, tracers.size()));
        // A step's pieces are found only when a caller shows steps and there are horizons.
        horizon_pieces step_pieces;
        const auto show = [&](std::size_t k, const fault* f, const std::vector<block>& now,
                              const point_list& moved) {
            run_step step{kind, k, n, f, now, moved};
            step.carried = horizons.set;
            if (!horizons.list().empty()) {
                step_pieces = pieces_in_blocks(now, horizons.list());
                step.horizons = &step_pieces;
            }
            on_step(step);
        };
        if (on_step)
            show(0, nullptr, blocks, tracers);
        // The fault as it cut: its point before the pass may have moved it with its block.
        fault applied;
        if (on_step && n > 0)
            applied = faults[0];
        // Showing a step builds the whole model, so only a caller that asked for steps pays it.
        cut_observer observe;
        if (on_step)
            observe = [&](std::size_t k, const std::vector<block>& now,
                          const std::vector<fault>& now_faults, const point_list& moved) {
                show(k + 1, &applied, now, moved);
                if (k + 1 < n)
                    applied = now_faults[k + 1];
            };
        const cut_progress progress = [&](std::size_t k, std::size_t count) {
            applied_count = k + 1;
            block_count = count;
            if (after_fault)
                after_fault(k + 1);
        };
        if (on_change && !on_step)
            return changing_run(std::move(blocks[0]), std::move(faults), std::move(tracers),
                                horizons, kind, on_change, keep_blocks, progress);
        if (!keep_blocks && !on_step && horizons.list().empty()) {
            const std::size_t count = cut_points(blocks, faults, tracers, progress);
            return {{}, std::move(tracers), std::move(faults), count, {}};
        }
        blocks = cut_block(std::move(blocks), faults, tracers, observe, progress);
        const std::size_t count = blocks.size();
        horizon_pieces pieces = pieces_in_blocks(blocks, horizons.list());
        if (!keep_blocks)
            blocks = {};
        return {std::move(blocks), std::move(tracers), std::move(faults), count,
                std::move(pieces), horizons.set};
    } catch (const std::bad_alloc&) {
        // The blocks of the run are freed by now, so the message has room.
        throw run_aborted(out_of_memory_text(kind, faults, applied_count, block_count));
    }
}

// "horizon \"top\": nothing of it lies inside the boundary" for each such horizon.
std::vector<std::string> horizons_outside(const block& boundary,
                                          const std::vector<horizon>& horizons) {
    const horizon_pieces inside = pieces_in_blocks(std::vector<block>{boundary}, horizons);
    std::vector<bool> met(horizons.size(), false);
    for (int h : inside.horizon)
        met[h] = true;
    std::vector<std::string> warnings;
    for (std::size_t h = 0; h < horizons.size(); ++h)
        if (!met[h])
            warnings.push_back("horizon \"" + horizons[h].name +
                               "\": nothing of it lies inside the boundary");
    return warnings;
}

// The message for a run that ended with coordinates that are not finite. The run is done again,
// fault by fault, to name the first fault after which they are not: a cost paid only then.
std::string overflow_text(const block& boundary, std::vector<fault> faults, point_list tracers,
                          run_kind kind) {
    struct found {};
    std::string where;
    std::vector<block> blocks;
    blocks.push_back(start_block(boundary, faults.size(), tracers.size()));
    try {
        cut_block(std::move(blocks), faults, tracers,
                  [&](std::size_t k, const std::vector<block>& now,
                      const std::vector<fault>& now_faults, const point_list& moved) {
                      if (model_finite(now, now_faults, moved))
                          return;
                      where = fault_label(now_faults[k]) + " in ";
                      throw found{};
                  });
    } catch (const found&) {
    }
    return "The model's coordinates are no longer finite after " + where + "the " + run_name(kind) +
           " run: a slip or a position is too large.";
}

// Runs one cutting run and checks its result; throws run_aborted when a coordinate overflowed.
run_state checked_run(const block& boundary, const std::vector<fault>& faults,
                      const point_list& tracers, const run_horizon_list& horizons, run_kind kind,
                      const step_fn& on_step, const step_change_fn& on_change, bool keep_blocks,
                      const std::function<void(std::size_t)>& after_fault) {
    run_state state = cutting_run(boundary, faults, tracers, horizons, kind, on_step, on_change,
                                  keep_blocks, after_fault);
    if (!model_finite(state.blocks, state.faults, state.tracers))
        throw run_aborted(overflow_text(boundary, faults, tracers, kind));
    return state;
}

} // namespace

std::vector<fault> forward_faults(const std::vector<fault>& restored) {
    std::vector<fault> forward;
    forward.reserve(restored.size());
    for (auto it = restored.rbegin(); it != restored.rend(); ++it) {
        fault f = *it;
        f.slip_dir = -f.slip_dir;
        forward.push_back(std::move(f));
    }
    return forward;
}

std::vector<horizon> given_horizons(const run_options& options) {
    std::vector<horizon> all = options.horizons;
    all.insert(all.end(), options.present_horizons.begin(), options.present_horizons.end());
    all.insert(all.end(), options.undeformed_horizons.begin(), options.undeformed_horizons.end());
    return all;
}

const std::vector<horizon>& present_day_horizons(const run_options& options) {
    return options.horizons.empty() ? options.present_horizons : options.horizons;
}

std::vector<horizon> run_horizons(const model_result& result, run_kind run) {
    std::vector<horizon> carried = result.horizons;
    bool any = false;
    for (std::size_t h = 0; h < carried.size(); ++h) {
        if (carries(run, result.horizon_sets[h])) {
            any = true;
            continue;
        }
        carried[h].vertices.clear();
        carried[h].triangles.clear();
    }
    return any ? carried : std::vector<horizon>{};
}

block start_block(const block& boundary, std::size_t faults, std::size_t tracers) {
    block first = boundary;
    for (std::size_t f = 0; f < first.faces.size(); ++f)
        first.faces[f].source = static_cast<int>(f);
    first.displacement = make_vec3(0.0, 0.0, 0.0);
    first.fault_indices.resize(faults);
    std::iota(first.fault_indices.begin(), first.fault_indices.end(), 0);
    first.tracer_indices.resize(tracers);
    std::iota(first.tracer_indices.begin(), first.tracer_indices.end(), 0);
    return first;
}

model_result run_model(block boundary, std::vector<fault> faults, const point_list& tracers,
                       run_options options) {
    const step_fn& on_step = options.on_step;
    const step_change_fn& on_change = options.on_change;
    const fault_fn& on_fault = options.on_fault;
    const kept_blocks keep = options.keep;
    if (!options.horizons.empty() &&
        !(options.present_horizons.empty() && options.undeformed_horizons.empty()))
        throw std::invalid_argument("horizons for both runs cannot be given with horizons for one "
                                    "run");
    std::vector<horizon_set> sets(options.horizons.size(), horizon_set::both_runs);
    sets.resize(sets.size() + options.present_horizons.size(), horizon_set::present_day);
    sets.resize(sets.size() + options.undeformed_horizons.size(), horizon_set::undeformed);
    std::vector<horizon> horizons = std::move(options.horizons);
    for (auto* own : {&options.present_horizons, &options.undeformed_horizons})
        std::ranges::move(*own, std::back_inserter(horizons));
    if (boundary.vertices.empty())
        throw run_aborted("The boundary has no vertices, so there is no model to cut.");
    model_result result;
    result.warnings = fault_warnings(faults);

    const vec3 c = centroid(boundary.vertices);
    result.centre = c;
    // Steps are shown about the centre, and written where the boundary file has them.
    const step_fn placed_step = on_step ? step_fn([&](const run_step& step) {
        run_step placed = step;
        placed.centre = c;
        on_step(placed);
    })
                                        : step_fn{};
    const step_change_fn placed_change = on_change
                                             ? step_change_fn([&](const run_step_change& step) {
                                                   run_step_change placed = step;
                                                   placed.centre = c;
                                                   on_change(placed);
                                               })
                                             : step_change_fn{};
    for (fault& f : faults)
        f.point -= c;
    for (vec3& v : boundary.vertices)
        v -= c;
    for (horizon& h : horizons)
        for (vec3& v : h.vertices)
            v -= c;
    boundary.fault_indices.clear();
    boundary.tracer_indices.clear();
    if (!model_finite({boundary}, faults, {}))
        throw run_aborted("The model's coordinates are too large to centre the boundary and the "
                          "fault points on the boundary's vertex mean.");
    for (const std::size_t k : faults_missing_boundary(boundary, faults))
        result.warnings.push_back(fault_label(faults[k]) +
                                  ": its plane misses the boundary; check its point and normal");
    result.boundary = std::move(boundary);
    result.horizon_warnings = horizons_outside(result.boundary, horizons);
    result.horizons = std::move(horizons);
    result.horizon_sets = std::move(sets);

    // Both runs count their faults into one total: the restoration's first, then the forward's.
    const std::size_t total = 2 * faults.size();
    const auto counted_from = [&](std::size_t before) -> std::function<void(std::size_t)> {
        if (!on_fault)
            return {};
        return [&on_fault, before, total](std::size_t k) { on_fault(before + k, total); };
    };
    result.restored = checked_run(
        result.boundary, faults, tracers, horizons_carried(result, run_kind::restoration),
        run_kind::restoration, placed_step, placed_change, keep.restored, counted_from(0));

    const std::vector<fault> forward = forward_faults(result.restored.faults);
    result.forward = checked_run(
        result.boundary, forward, tracers, horizons_carried(result, run_kind::forward),
        run_kind::forward, placed_step, placed_change, keep.forward, counted_from(faults.size()));
    return result;
}

} // namespace tolvex
