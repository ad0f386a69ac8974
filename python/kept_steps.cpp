#include "python/kept_steps.hpp"

namespace tolvex {

void keep_step(kept_steps& kept, const run_step_change& change) {
    keep_step(kept.history, change);
    kept.tracers.push_back(change.tracers);
}

std::vector<block> blocks_of(const kept_steps& kept, std::size_t s) {
    return to_blocks(step_set(kept.history, s));
}

} // namespace tolvex
