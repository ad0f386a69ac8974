// A run's blocks at its current step, kept from the run's step changes: the halves a pass made
// take their places, the blocks it moved are shifted, the rest stay. Each block's outward faces
// are found once, when it is made: a move does not change them.
#pragma once

#include "geometry/block.hpp"
#include "geometry/horizon_pieces.hpp"
#include "model/model_run.hpp"
#include "model/step_history.hpp"

#include <vector>

namespace tolvex {

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
