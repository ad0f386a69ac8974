// The steps of a cutting run kept compactly, from the run's reports of what changed: every block
// a cut made is kept once, as the kernel holds it, and each step lists its blocks as those shapes
// with their displacements. A step's blocks are built, bit for bit as the run had them, only
// when asked for.
#pragma once

#include "model/model_run.hpp"
#include "model/step_blocks.hpp"

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace tolvex {

struct kept_steps {
    // A block of a step: its shape and how far it has moved since the run started.
    struct placed {
        std::uint32_t shape = 0;
        xyz displacement{};
    };
    struct step {
        std::size_t number = 0;
        std::optional<fault> applied; // as the run applied it
        std::vector<placed> blocks;
        point_list tracers;
        horizon_pieces horizons;
    };
    // Each block as made, its vertices less its displacement; a deque, since a block record moves
    // only by copying.
    std::deque<block> shapes;
    std::vector<step> steps;
};

// Keeps the step change tells of into kept; blocks holds the run's blocks whole only when it has
// horizons, whose pieces each step keeps.
void keep_step(kept_steps& kept, step_blocks& blocks, const run_step_change& change);

// The blocks of step s of kept, as the run had them.
std::vector<block> blocks_of(const kept_steps& kept, std::size_t s);

} // namespace tolvex
