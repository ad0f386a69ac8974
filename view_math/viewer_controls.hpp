// The viewer's state beyond its data and what a key or a playback tick does to it. No GL needed:
// the window carries out the effect that comes back (redraw, close, save, start the timer).
#pragma once

#include "config/display_modes.hpp"
#include "view_math/step_state.hpp"
#include "view_math/view_state.hpp"
#include "view_math/viewer_keys.hpp"

#include <array>
#include <cstddef>
#include <string>

struct viewer_state {
    view_state view;
    step_state steps;
    display_modes modes;
    bool playing = false;
    bool help = false;
    bool overlays = true; // the step label, hints, axis triad and scale bar
};

// Where "i" and "a" put the eye.
struct view_eyes {
    xyz start; // the start view's
    xyz whole; // one from which the whole model shows, in the direction the eye now looks from
};

enum class viewer_effect { nothing, redraw, close, save_picture, start_playback };

// Carries out action on state, with the eyes "i" and "a" go to. Space at the last step plays
// from the first; any other step key, "i" or "a" during playback leaves it playing on.
viewer_effect apply_action(viewer_state& state, const viewer_action& action, const view_eyes& eyes);

// One tick of playback: the next step, and playback stops once the last one is shown. False
// when nothing changed (not playing, or already at the end).
bool playback_tick(viewer_state& state);

// Milliseconds between two steps of playback.
constexpr unsigned playback_interval_ms = 500;

// The picture "s" saves: base (the fault file's path without its extension) followed by the run
// and step, as "graben_forward_3.png".
std::string picture_path(const std::string& base, tolvex::run_kind run, std::size_t step);
