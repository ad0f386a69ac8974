#include "viewer/viewer_session.hpp"

#include "view_math/camera_fit.hpp"

#include <algorithm>
#include <utility>

namespace {

bool has_horizons(const scene_history& history) {
    return std::any_of(
        history.kept.steps.begin(), history.kept.steps.end(),
        [](const tolvex::history_step& step) { return step.horizons.polygons.size() > 0; });
}

} // namespace

const scene_history& shown_history(const viewer_session& session) {
    return session.state.steps.run == tolvex::run_kind::forward ? session.scenes.forward
                                                                : session.scenes.restored;
}

shape_windings& shown_windings(viewer_session& session) {
    return session.state.steps.run == tolvex::run_kind::forward ? session.forward_windings
                                                                : session.restored_windings;
}

void start_session(viewer_session& session, viewer_scenes scenes, const view_options& options) {
    session.scenes = std::move(scenes);
    session.restored_windings = shape_windings();
    session.forward_windings = shape_windings();
    session.options = options;
    session.state = viewer_state();
    session.state.view = initial_view(session.state.view, options.eye);
    session.state.steps =
        start_steps(session.scenes.restored.steps.size(), session.scenes.forward.steps.size());
    session.state.modes = start_modes(options.modes, has_horizons(session.scenes.restored) ||
                                                         has_horizons(session.scenes.forward));
    session.box = scene_box();
    add_history(session.box, session.scenes.restored);
    add_history(session.box, session.scenes.forward);
    session.note.clear();
    // The start eye is set for a model of some size; another model may not show from it at all.
    const view_state& view = session.state.view;
    if (!session.box.empty() && !(shows_whole(view, session.box, session.scenes.forward) &&
                                  shows_whole(view, session.box, session.scenes.restored))) {
        session.note = "framed, as " + start_view_advice(view, session.box);
        session.options.eye = whole_view_eye(view, session.box);
        session.state.view = initial_view(view, session.options.eye);
    }
}
