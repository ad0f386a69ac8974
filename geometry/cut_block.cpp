#include "geometry/cut_block.hpp"

#include "geometry/detail/block_store.hpp"
#include "geometry/detail/cut_pass.hpp"
#include "geometry/detail/fault_points.hpp"
#include "geometry/detail/plane_side.hpp"
#include "geometry/stop_point.hpp"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

void check_indices(const index_list& indices, std::size_t size, const char* what) {
    for (int i : indices)
        if (i < 0 || static_cast<std::size_t>(i) >= size)
            throw std::out_of_range(std::string("block refers to ") + what + " " +
                                    std::to_string(i) + " of " + std::to_string(size));
}

// What the pass of the fault at position k changed; the new slots begin at first_new.
cut_step step_of(const block_store& store, const std::vector<cut_worker>& workers, int first_new,
                 std::size_t k, const xyz& slip) {
    std::vector<std::size_t> position(store.shapes.size());
    std::size_t p = 0;
    for (int s = 0; s >= 0; s = store.next[s])
        position[s] = p++;
    cut_step step{k, p, {}, {}, {}, {}, slip};
    std::vector<int> made;
    int t = first_new;
    for (const cut_worker& worker : workers) {
        for (const new_slot& negative : worker.made) {
            made.push_back(negative.after);
            made.push_back(t++);
        }
        for (int s : worker.moved)
            step.moved.push_back(position[s]);
    }
    std::sort(made.begin(), made.end(), [&](int a, int b) { return position[a] < position[b]; });
    std::sort(step.moved.begin(), step.moved.end());
    step.made = stored_set(store, made);
    step.made_held.reserve(step.made.vertices.size());
    for (int s : made) {
        step.made_at.push_back(position[s]);
        const work_block& shape = store.shapes[s];
        step.made_held.insert(step.made_held.end(), shape.points,
                              shape.points + shape.vertex_count);
    }
    return step;
}

// Every fault's pass over the blocks; the result stays in working form.
block_store cut_store(const std::vector<block>& blocks, std::vector<fault>& faults,
                      point_list& tracers, const cut_observer& observe,
                      const cut_step_observer& observe_steps, const cut_progress& progress,
                      unsigned max_threads) {
    // Cutting only redistributes the indices, so one check up front covers every pass and
    // leaves everything untouched when it fails.
    for (const block& b : blocks) {
        check_indices(b.fault_indices, faults.size(), "fault");
        check_indices(b.tracer_indices, tracers.size(), "tracer");
    }
    const unsigned threads =
        max_threads > 0 ? max_threads : std::max(1u, std::thread::hardware_concurrency());
    std::vector<cut_worker> workers(threads);
    for (cut_worker& worker : workers)
        worker.record_moves = static_cast<bool>(observe_steps);
    block_store store = make_store(blocks, tracers, faults, workers[0].ws.parts);
    store.arenas.resize(threads);
    fault_point_sides sides = make_fault_point_sides(blocks, faults.size());
    for (std::size_t k = 0; k < faults.size(); ++k) {
        stop_point();
        const cutting_plane plane = plane_of(faults[k], static_cast<int>(k));
        sort_fault_points(sides, faults, plane.n, plane.p,
                          on_plane_tolerance * sides.model_size * plane.n_length);
        const int first_new = static_cast<int>(store.shapes.size());
        cut_pass(store, workers, plane, sides);
        compact_shapes(store);
        move_fault_points(sides, faults, plane.slip);
        if (progress)
            progress(k, store.shapes.size());
        if (observe_steps) {
            const cut_step step = step_of(store, workers, first_new, k, plane.slip);
            point_list moved_tracers = tracers;
            output_tracers(store, moved_tracers);
            observe_steps(step, faults, moved_tracers);
        }
        if (observe) {
            point_list moved_tracers = tracers;
            const std::vector<block> moved = to_blocks(stored_set(store, moved_tracers));
            observe(k, moved, faults, moved_tracers);
        }
    }
    return store;
}

} // namespace

block_set cut_block_set(const std::vector<block>& blocks, std::vector<fault>& faults,
                        point_list& tracers, const cut_progress& progress, unsigned max_threads,
                        const cut_step_observer& observe_steps) {
    if (faults.empty() || blocks.empty()) {
        block_set set = to_block_set(blocks);
        for (std::size_t b = 0; b < blocks.size(); ++b)
            std::iota(set.face_sources.begin() + set.face_offset[b],
                      set.face_sources.begin() + set.face_offset[b + 1], 0);
        return set;
    }
    block_store store =
        cut_store(blocks, faults, tracers, {}, observe_steps, progress, max_threads);
    return take_set(store, tracers);
}

std::vector<block> cut_block(std::vector<block> blocks, std::vector<fault>& faults,
                             point_list& tracers, const cut_observer& observe,
                             const cut_progress& progress) {
    if (faults.empty() || blocks.empty())
        return blocks;
    block_store store = cut_store(blocks, faults, tracers, observe, {}, progress, 0);
    blocks.clear();
    std::function<void()> poll;
    if (progress)
        poll = [&progress, &faults, count = static_cast<std::size_t>(count_blocks(store))] {
            progress(faults.size() - 1, count);
        };
    return take_blocks(store, tracers, poll);
}

std::size_t cut_points(const std::vector<block>& blocks, std::vector<fault>& faults,
                       point_list& tracers, const cut_progress& progress) {
    if (faults.empty() || blocks.empty())
        return blocks.size();
    const block_store store = cut_store(blocks, faults, tracers, {}, {}, progress, 0);
    output_tracers(store, tracers);
    return static_cast<std::size_t>(count_blocks(store));
}
