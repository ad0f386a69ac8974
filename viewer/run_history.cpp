#include "viewer/run_history.hpp"

namespace tolvex {

step_fn history_collector(scene_history& restored, scene_history& forward) {
    return [&restored, &forward](const run_step& step) {
        std::optional<fault_plane> plane;
        if (step.applied)
            plane = fault_plane{step.applied->point, step.applied->normal};
        append_history_step(step.run == run_kind::forward ? forward : restored, step.blocks,
                            step.tracers, step_label(step), plane, step.horizons);
    };
}

} // namespace tolvex
