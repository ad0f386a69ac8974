// The viewer's histories gathered from a model run as it passes its steps.
#pragma once

#include "model/model_run.hpp"
#include "model/step_label.hpp"
#include "viewer/scene_history.hpp"

#include <string>

namespace tolvex {

// A step_fn that appends every step, labelled, to restored or forward by its run. Both must
// outlive the run.
step_fn history_collector(scene_history& restored, scene_history& forward);

} // namespace tolvex
