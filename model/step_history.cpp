#include "model/step_history.hpp"

#include <cstdint>
#include <utility>

namespace tolvex {

namespace {

template <class T, class Range> void append(flat_list<T>& list, const Range& values) {
    list.insert(list.end(), values.begin(), values.end());
}

// Appends b to shapes (whose normals places knows) with the given vertices and displacement in
// place of its own.
void add_shape(block_set& shapes, normal_places& places, const block_view& b,
               std::span<const xyz> vertices, const xyz& displacement) {
    append(shapes.vertices, vertices);
    append(shapes.edges, b.edges);
    append(shapes.corners, b.corners);
    append(shapes.face_begin, b.face_begin);
    append_normals(shapes, b.normals, places);
    append(shapes.face_sources, b.face_sources);
    append(shapes.fault_indices, b.fault_indices);
    append(shapes.tracer_indices, b.tracer_indices);
    end_block(shapes, displacement);
}

// Puts tracers[indices] moved back by offset into the slots from first on.
void fill_slots(step_history& history, std::size_t first, std::span<const int> indices,
                const point_list& tracers, const xyz& offset) {
    for (std::size_t i = 0; i < indices.size(); ++i) {
        vec3& slot = history.tracer_slots[first + i];
        slot = tracers[static_cast<std::size_t>(indices[i])];
        history.slot_tracer[first + i] = indices[i];
        for (int k = 0; k < 3; ++k)
            slot[k] -= offset[k];
    }
}

std::uint32_t shape_count(const step_history& history) {
    return static_cast<std::uint32_t>(block_count(history.shapes));
}

// Each block of set a new shape with slots of its own, placed where it stands.
std::vector<placed_shape> new_shapes(step_history& history, const block_set& set,
                                     const point_list& tracers) {
    std::vector<placed_shape> placed;
    for (std::size_t b = 0; b < block_count(set); ++b) {
        const block_view v = view_of(set, b);
        const std::size_t first = history.tracer_slots.size();
        history.tracer_slots.resize(first + v.tracer_indices.size());
        history.slot_tracer.resize(history.tracer_slots.size());
        fill_slots(history, first, v.tracer_indices, tracers, {0.0, 0.0, 0.0});
        history.first_slot.push_back(static_cast<std::uint32_t>(first));
        placed.push_back({shape_count(history)});
        add_shape(history.shapes, history.normal_at, v, v.vertices, v.displacement);
    }
    return placed;
}

// The offsets of a step's blocks: a moved block's is its old one moved by the slip, shared by
// every block that stood at the same old one.
class step_offsets {
  public:
    step_offsets(step_history& history, const xyz& slip) : history_(history), slip_(slip) {}

    std::uint32_t moved(std::uint32_t old) {
        if (moved_.size() <= old)
            moved_.resize(old + 1, none);
        if (moved_[old] == none) {
            xyz o = history_.offsets[old];
            for (int k = 0; k < 3; ++k)
                o[k] += slip_[k];
            moved_[old] = add(o);
        }
        return moved_[old];
    }

    // A half's offset d, cut from a block at old: old itself or old moved, unless it is neither.
    std::uint32_t made(std::uint32_t old, const xyz& d) {
        if (history_.offsets[old] == d)
            return old;
        const std::uint32_t m = moved(old);
        return history_.offsets[m] == d ? m : add(d);
    }

  private:
    static constexpr std::uint32_t none = UINT32_MAX;

    std::uint32_t add(const xyz& o) {
        history_.offsets.push_back(o);
        return static_cast<std::uint32_t>(history_.offsets.size() - 1);
    }

    step_history& history_;
    xyz slip_;
    std::vector<std::uint32_t> moved_;
};

std::vector<placed_shape> placed_after(step_history& history, const cut_step& change,
                                       const point_list& tracers) {
    const std::vector<placed_shape>& before = history.steps.back().blocks;
    std::vector<placed_shape> now;
    now.reserve(change.block_count);
    step_offsets offsets(history, change.slip);
    std::size_t first = 0; // the next slot of the block being cut
    walk_step(
        change,
        [&](std::size_t m, std::size_t cut) {
            // The halves share out the cut block's slots, the first's first.
            if (m % 2 == 0)
                first = history.first_slot[before[cut].shape];
            const block_view half = view_of(change.made, m);
            fill_slots(history, first, half.tracer_indices, tracers, half.displacement);
            history.first_slot.push_back(static_cast<std::uint32_t>(first));
            first += half.tracer_indices.size();
            now.push_back(
                {shape_count(history), offsets.made(before[cut].offset, half.displacement)});
            const auto held = std::span<const xyz>(change.made_held)
                                  .subspan(change.made.vertex_offset[m], half.vertices.size());
            add_shape(history.shapes, history.normal_at, half, held, half.displacement);
        },
        [&](std::size_t old, bool moved) {
            placed_shape p = before[old];
            if (moved)
                p.offset = offsets.moved(p.offset);
            now.push_back(p);
        });
    return now;
}

} // namespace

void keep_step(step_history& history, const run_step_change& change) {
    history_step step;
    if (change.applied)
        step.applied = *change.applied;
    step.blocks = change.start ? new_shapes(history, to_block_set({*change.start}), change.tracers)
                               : placed_after(history, *change.change, change.tracers);
    history.steps.push_back(std::move(step));
    if (!change.horizons.empty())
        history.steps.back().horizons =
            pieces_in_blocks(step_set(history, history.steps.size() - 1), change.horizons);
}

void keep_blocks_step(step_history& history, const std::vector<block>& blocks,
                      const point_list& tracers) {
    history.steps.push_back({new_shapes(history, to_block_set(blocks), tracers), {}, {}});
}

block_view shape_of(const step_history& history, std::uint32_t s) {
    return view_of(history.shapes, s);
}

block_set step_set(const step_history& history, std::size_t s) {
    block_set set;
    normal_places places;
    std::vector<xyz> moved;
    for (const placed_shape& p : history.steps[s].blocks) {
        const block_view b = shape_of(history, p.shape);
        const xyz& offset = offset_of(history, p);
        moved.assign(b.vertices.begin(), b.vertices.end());
        for (xyz& v : moved)
            for (int k = 0; k < 3; ++k)
                v[k] += offset[k];
        add_shape(set, places, b, moved, offset);
    }
    return set;
}

} // namespace tolvex
