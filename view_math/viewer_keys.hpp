// What each key of the viewer does, and the help that lists them. No GL needed.
#pragma once

#include "view_math/step_state.hpp"

#include <optional>
#include <string>
#include <variant>
#include <vector>

enum class viewer_command {
    reset_view,      // i
    close,           // q, Esc
    toggle_shading,  // l
    next_colouring,  // c
    next_tracers,    // t
    next_blocks,     // b
    toggle_playback, // space
    toggle_help,     // ?, F1
    save_picture,    // s
    toggle_horizons, // h
    toggle_faults,   // f
    frame_all,       // a
    toggle_overlays, // o
};

// A key does a viewer command or moves through the steps.
using viewer_action = std::variant<viewer_command, step_key>;

// Special-key code of F1 as the windowing library reports it.
constexpr int key_f1 = 1;

std::optional<viewer_action> action_for_key(unsigned char key);
std::optional<viewer_action> action_for_special(int key);

// The help overlay: one line per key (or group of keys) and per mouse drag.
std::vector<std::string> help_lines();
