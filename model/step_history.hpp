// Every step of a cutting run kept compactly, from the run's reports of what changed. From one
// step to the next most blocks are untouched or moved whole by the slip, so each block a cut makes
// is kept once as a shape, as the kernel holds it (less its displacement), and each step lists its
// blocks as those shapes with their displacements, which rebuild them bit for bit. A 100-fault run
// passes about two million blocks over its steps but makes only about twice its final block count
// of shapes. The viewer, the Python module and the step files all read their steps from here.
#pragma once

#include "geometry/block_set.hpp"
#include "geometry/horizon_pieces.hpp"
#include "model/model_run.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tolvex {

// A block of a step: its shape, and how far it has moved since the run started as a position in
// the history's offsets (blocks that moved together share one: a step lists millions of blocks).
struct placed_shape {
    std::uint32_t shape = 0;
    std::uint32_t offset = 0;
};

struct history_step {
    std::vector<placed_shape> blocks; // in the order of the step's blocks
    std::optional<fault> applied;     // as the run applied it; none at step 0
    horizon_pieces horizons;          // in the step's blocks, when the run has horizons
};

struct step_history {
    // Every shape, its vertices less the displacement it was made with (which its entry in
    // shapes.displacement keeps), with the fault and tracer indices it was made with.
    block_set shapes;
    normal_places normal_at; // where the shapes' normals are held
    // The tracers of shape s lie in the slots from first_slot[s] on, one per tracer index, where
    // they stood when it was made less its offset then; a move does not change them. A cut
    // block's slots are shared out among its halves, so a run needs one slot per tracer. They
    // place a tracer within rounding of where the run has it, which drawing needs; a caller that
    // needs the run's tracers bit for bit keeps them from the reports.
    std::vector<std::uint32_t> first_slot;
    point_list tracer_slots;
    // The tracer each slot holds: the halves share out their block's slots in their own order,
    // so a slot of an older shape need not hold that shape's tracer of the same position.
    std::vector<int> slot_tracer;
    std::vector<xyz> offsets{{0.0, 0.0, 0.0}}; // the first: none
    std::vector<history_step> steps;
};

inline const xyz& offset_of(const step_history& history, const placed_shape& p) {
    return history.offsets[p.offset];
}

// Appends the step change reports to history: step 0 (the run's start block) or the step after
// the last kept. The step's horizon pieces are found when the run has horizons.
void keep_step(step_history& history, const run_step_change& change);

// Appends a step of plain lists: each block (its tracer indices into tracers) a shape of its own
// where it stands.
void keep_blocks_step(step_history& history, const std::vector<block>& blocks,
                      const point_list& tracers);

// Shape s as kept: its vertices less its offset.
block_view shape_of(const step_history& history, std::uint32_t s);

// The blocks of step s as the run had them, bit for bit.
block_set step_set(const step_history& history, std::size_t s);

// Goes through the blocks after change's pass in order: made(m, cut) for the m-th half the pass
// made, cut from the block at position cut before the pass; kept(old, moved) for the block that
// stood at position old before the pass, moved by the slip or not.
template <class Made, class Kept>
void walk_step(const cut_step& change, const Made& made, const Kept& kept) {
    std::size_t m = 0, moved = 0, old = 0;
    for (std::size_t j = 0; j < change.block_count; ++j) {
        if (m < change.made_at.size() && change.made_at[m] == j) {
            // The first half of each cut takes the cut block's place, the second is new.
            const std::size_t cut = m % 2 == 0 ? old++ : old - 1;
            made(m++, cut);
            continue;
        }
        const bool is_moved = moved < change.moved.size() && change.moved[moved] == j;
        moved += is_moved ? 1 : 0;
        kept(old++, is_moved);
    }
}

} // namespace tolvex
