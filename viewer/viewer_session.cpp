#include "viewer_session.hpp"

#include <utility>

const scene_history& shown_history(const viewer_session& session) {
    return session.state.steps.run == shown_run::forward ? session.scenes.forward
                                                         : session.scenes.restored;
}

void start_session(viewer_session& session, viewer_scenes scenes, const view_options& options) {
    session.scenes = std::move(scenes);
    session.options = options;
    session.state = viewer_state();
    session.state.view = initial_view(session.state.view, options.eye);
    session.state.steps =
        start_steps(session.scenes.restored.steps.size(), session.scenes.forward.steps.size());
    session.state.modes = options.modes;
    session.box = scene_box();
    add_history(session.box, session.scenes.restored);
    add_history(session.box, session.scenes.forward);
    session.note.clear();
}
