// A run's steps as the Python module keeps them: the run's step history, and each step's tracers
// as the run gave them, which a Step hands out bit for bit (the history places tracers only within
// rounding). A step's blocks are built, bit for bit as the run had them, only when asked for.
#pragma once

#include "model/model_run.hpp"
#include "model/step_history.hpp"

#include <cstddef>
#include <vector>

namespace tolvex {

struct kept_steps {
    step_history history;
    std::vector<point_list> tracers; // per step
};

// Keeps the step change tells of into kept.
void keep_step(kept_steps& kept, const run_step_change& change);

// The blocks of step s of kept, as the run had them.
std::vector<block> blocks_of(const kept_steps& kept, std::size_t s);

} // namespace tolvex
