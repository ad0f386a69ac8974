// A run's blocks at its current step, kept from the run's step changes: the halves a pass made
// take their places, the blocks it moved are shifted, the rest stay. Each block's outward faces
// are found once, when it is made: a move does not change them.
#pragma once

#include "geometry/block.hpp"
#include "geometry/horizon_pieces.hpp"
#include "model/model_run.hpp"

#include <vector>

namespace tolvex {

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

// Half m of change as the kernel holds it: its vertices less its displacement (which it keeps).
block held_half(const cut_step& change, std::size_t m);

class step_blocks {
  public:
    // Brings the blocks to the given step, the one after the last applied or a run's step 0, and
    // finds the step's horizon pieces when the run has horizons.
    void apply(const run_step_change& change);

    // The step as run_model's on_step would see it; valid until the next apply.
    run_step step(const run_step_change& change) const;

    const std::vector<block>& blocks() const { return blocks_; }
    const std::vector<std::vector<face>>& outward() const { return outward_; }

  private:
    void take_made(const cut_step& change, std::size_t m);
    void take_kept(block&& b, point_list&& held, std::vector<face>&& outward);

    std::vector<block> blocks_;
    // Each block's vertices as the kernel holds them, less its displacement: a moved block's
    // vertices are these plus its new displacement, as the kernel would give them.
    std::vector<point_list> held_;
    std::vector<std::vector<face>> outward_;
    horizon_pieces pieces_;
};

} // namespace tolvex
