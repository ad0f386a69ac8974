#include "view_math/run_history.hpp"

#include "model/step_blocks.hpp"
#include "model/step_label.hpp"

#include <memory>

namespace tolvex {

step_change_fn history_collector(scene_history& restored, scene_history& forward) {
    // Only a run with horizons needs its blocks whole, to find each step's pieces in them.
    auto kept = std::make_shared<step_blocks>();
    return [&restored, &forward, kept](const run_step_change& change) {
        scene_history& history = change.run == run_kind::forward ? forward : restored;
        const horizon_pieces* horizons = nullptr;
        if (!change.horizons.empty()) {
            kept->apply(change);
            horizons = kept->step(change).horizons;
        }
        std::string label =
            step_label(change.run, change.step, change.step_count, change.applied, change.carried);
        if (change.start) {
            append_history_step(history, {*change.start}, change.tracers, std::move(label),
                                std::nullopt, horizons);
            return;
        }
        append_history_step(history, *change.change, change.tracers, std::move(label),
                            fault_plane{change.applied->point, change.applied->normal}, horizons);
    };
}

} // namespace tolvex
