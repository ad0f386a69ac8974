// The viewer's start view rendered without any window or display: EGL on Mesa's surfaceless
// platform, desktop OpenGL through the same dispatch as the window. In: the lists to draw and
// the picture options; out: the pixels.
#pragma once

#include "block.hpp"
#include "scene_image.hpp"

#include <array>
#include <cstdint>
#include <vector>

namespace tolvex {

// RGBA pixels, 8 bits a channel, rows from the top of the picture down.
struct scene_pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    std::array<std::uint8_t, 4> at(int x, int y) const {
        const auto* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
};

// Draws the scene with the camera the viewer starts with (eye options.eye, window size
// options.width x options.height) on options.clear_color. Throws std::runtime_error when no
// EGL display or context can be had, or the size is not positive.
scene_pixels render_scene_pixels(const std::vector<block>& blocks, const point_list& tracers,
                                 const scene_image_options& options);

} // namespace tolvex
