// The viewer's start view rendered without any window or display (offscreen_context). In: what to
// draw and the picture options; out: the pixels.
#pragma once

#include "geometry/block.hpp"
#include "viewer/scene_history.hpp"
#include "viewer/scene_image.hpp"

#include <array>
#include <cstddef>
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

// The frame of the current context, width x height pixels from its lower left corner.
scene_pixels read_scene_pixels(int width, int height);

// Draws the lists (with options' horizon pieces and, as options' modes ask, the blocks' fault
// surfaces) with the camera the viewer starts with (eye options.eye, window size
// options.width x options.height, depth planes holding the lists) on options.clear_color, in
// options.modes, with the label and guides when options ask for them.
// Throws std::runtime_error when no offscreen context can be had, or the size is not positive.
scene_pixels render_scene_pixels(const std::vector<block>& blocks, const point_list& tracers,
                                 const scene_image_options& options);

// The same for one step of history (< its step count), with depth planes holding all its steps,
// as the viewer draws it.
scene_pixels render_step_pixels(const scene_history& history, std::size_t step,
                                const scene_image_options& options);

} // namespace tolvex
