#include "view_math/run_history.hpp"

#include "model/step_label.hpp"

namespace tolvex {

step_change_fn history_collector(scene_history& restored, scene_history& forward) {
    return [&restored, &forward](const run_step_change& change) {
        scene_history& history = change.run == run_kind::forward ? forward : restored;
        append_history_step(
            history, change,
            step_label(change.run, change.step, change.step_count, change.applied, change.carried));
    };
}

} // namespace tolvex
