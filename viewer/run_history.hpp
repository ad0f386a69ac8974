// The viewer's histories gathered from a model run as it passes its steps.
#pragma once

#include "model_run.hpp"
#include "scene_history.hpp"

#include <string>

namespace tolvex {

// What the viewer names a step by: "forward 2/3: 102 NF-E" (the run, "restored" or "forward",
// the step and the run's step count, then the identifier and tag of the fault just applied;
// nothing after the count at step 0).
std::string step_label(const run_step& step);

// A step_fn that appends every step, labelled, to restored or forward by its run. Both must
// outlive the run.
step_fn history_collector(scene_history& restored, scene_history& forward);

} // namespace tolvex
