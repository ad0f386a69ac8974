// What the viewer and the offscreen picture take from the settings.
#pragma once

#include "config/display_modes.hpp"
#include "geometry/xyz.hpp"

#include <array>

// The start eye when none is configured.
constexpr xyz default_view_point{450.0, -600.0, 750.0};

struct view_options {
    std::array<float, 4> clear_color{0.0f, 0.0f, 0.0f, 1.0f}; // background, RGBA
    xyz eye = default_view_point;                             // start eye; looks at the origin
    bool show_block = false;
    bool show_tracer = false;
    display_modes modes; // how the viewer draws at start-up
};
