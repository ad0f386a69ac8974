// The scene as GL draws it into whatever context is current: the fixed state, the camera for a
// view and the frame itself (axes, tracers, faces, edges). Shared by the window and offscreen
// pictures; showing the frame (buffer swap) is left to the caller.
#pragma once

#include "block.hpp"
#include "view_state.hpp"

#include <array>
#include <vector>

// Background colour and depth testing; lighting stays off, matrix mode stays model-view.
void apply_fixed_state(const std::array<float, 4>& clear_color);

// Viewport over view.ww x view.hh and, in the model-view matrix, a 30 degree perspective (near 1,
// far 5000) times the look from view_point at the origin with up direction view_upward.
void apply_camera(const view_state& view);

// Clears and draws one frame: the three axes, the tracers as green points, the block faces white
// (pushed back by a polygon offset) and the block edges black on top of them.
void draw_scene(const std::vector<block>& blocks, const point_list& tracers);
