#include "run_history.hpp"

namespace tolvex {

std::string step_label(const run_step& step) {
    std::string text = step.run == run_kind::forward ? "forward " : "restored ";
    text += std::to_string(step.step) + "/" + std::to_string(step.step_count);
    if (step.applied) {
        text += ": " + std::to_string(step.applied->id);
        if (!step.applied->tag.empty())
            text += " " + step.applied->tag;
    }
    return text;
}

step_fn history_collector(scene_history& restored, scene_history& forward) {
    return [&restored, &forward](const run_step& step) {
        std::optional<fault_plane> plane;
        if (step.applied)
            plane = fault_plane{step.applied->point, step.applied->normal};
        append_history_step(step.run == run_kind::forward ? forward : restored, step.blocks,
                            step.tracers, step_label(step), plane);
    };
}

} // namespace tolvex
