// The viewer's histories gathered from a model run as it reports its steps.
#pragma once

#include "model/model_run.hpp"
#include "view_math/scene_history.hpp"

namespace tolvex {

// A step_change_fn for run_model that appends every step, labelled, to restored or forward by its
// run, from the run's reports of what changed. The horizon pieces of a run with horizons are
// found in every step's blocks. Both histories must outlive the run.
step_change_fn history_collector(scene_history& restored, scene_history& forward);

} // namespace tolvex
