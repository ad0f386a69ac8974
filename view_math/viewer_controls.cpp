#include "view_math/viewer_controls.hpp"

namespace {

viewer_effect apply_command(viewer_state& state, viewer_command command, const view_eyes& eyes) {
    switch (command) {
    case viewer_command::reset_view:
        state.view = initial_view(state.view, eyes.start);
        return viewer_effect::redraw;
    case viewer_command::frame_all:
        state.view = initial_view(state.view, eyes.whole);
        return viewer_effect::redraw;
    case viewer_command::toggle_overlays:
        state.overlays = !state.overlays;
        return viewer_effect::redraw;
    case viewer_command::close:
        state.playing = false;
        return viewer_effect::close;
    case viewer_command::toggle_shading:
        state.modes.lit = !state.modes.lit;
        return viewer_effect::redraw;
    case viewer_command::next_colouring:
        state.modes.colouring = next_mode(state.modes.colouring);
        return viewer_effect::redraw;
    case viewer_command::next_tracers:
        state.modes.tracers = next_mode(state.modes.tracers);
        return viewer_effect::redraw;
    case viewer_command::next_blocks:
        state.modes.blocks = next_mode(state.modes.blocks);
        return viewer_effect::redraw;
    case viewer_command::toggle_horizons:
        state.modes.horizons = !state.modes.horizons;
        return viewer_effect::redraw;
    case viewer_command::toggle_faults:
        state.modes.fault_surfaces = !state.modes.fault_surfaces;
        return viewer_effect::redraw;
    case viewer_command::toggle_help:
        state.help = !state.help;
        return viewer_effect::redraw;
    case viewer_command::save_picture:
        return viewer_effect::save_picture;
    case viewer_command::toggle_playback:
        if (state.playing) {
            state.playing = false;
            return viewer_effect::nothing;
        }
        if (auto first = press_step_key(state.steps, step_key::next); !first) {
            if (auto start = press_step_key(state.steps, step_key::first))
                state.steps = *start; // at the end: play again from the start
            else
                return viewer_effect::nothing; // a run of one step has nothing to play
        }
        state.playing = true;
        return viewer_effect::start_playback;
    }
    return viewer_effect::nothing;
}

} // namespace

viewer_effect apply_action(viewer_state& state, const viewer_action& action,
                           const view_eyes& eyes) {
    if (const auto* command = std::get_if<viewer_command>(&action))
        return apply_command(state, *command, eyes);
    const auto next = press_step_key(state.steps, std::get<step_key>(action));
    if (!next)
        return viewer_effect::nothing;
    state.steps = *next;
    return viewer_effect::redraw;
}

bool playback_tick(viewer_state& state) {
    if (!state.playing)
        return false;
    const auto next = press_step_key(state.steps, step_key::next);
    if (next)
        state.steps = *next;
    if (!next || !press_step_key(state.steps, step_key::next))
        state.playing = false;
    return next.has_value();
}

std::string picture_path(const std::string& base, tolvex::run_kind run, std::size_t step) {
    return base + (run == tolvex::run_kind::forward ? "_forward_" : "_restored_") +
           std::to_string(step) + ".png";
}
