// The viewer's start view rendered without any window or display (offscreen_context). In: what to
// draw and the picture options; out: the pixels.
#pragma once

#include "geometry/block.hpp"
#include "io/png_file.hpp"
#include "view_math/frame_mesh.hpp"
#include "view_math/scene_parts.hpp"
#include "viewer/scene_image.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tolvex {

// The frame of the current context, width x height pixels from its lower left corner.
scene_pixels read_scene_pixels(int width, int height);

// Draws the lists (with options' horizon pieces and, as options' modes ask, the blocks' fault
// surfaces) with the camera the viewer starts with (eye options.eye, window size
// options.width x options.height, depth planes holding the lists) on options.clear_color, in
// options.modes, with the label and guides when options ask for them.
// Throws std::runtime_error when no offscreen context can be had, or the size is not positive.
scene_pixels render_scene_pixels(const std::vector<block>& blocks, const point_list& tracers,
                                 const scene_image_options& options);

// The parts, coloured as colouring says, drawn as render_scene_pixels draws its lists, with depth
// planes holding box (which holds the parts).
scene_pixels render_parts_pixels(const std::vector<scene_part>& parts, const scene_box& box,
                                 const frame_colouring& colouring,
                                 const scene_image_options& options);

} // namespace tolvex
