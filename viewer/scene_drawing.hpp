// The scene as GL draws it into whatever context is current: the fixed state, the camera for a
// view and the frame itself (axes, tracers, faces, edges), sent vertex by vertex or recorded once
// into buffer objects and drawn from them. Shared by the window and offscreen pictures; showing
// the frame (buffer swap) is left to the caller.
#pragma once

#include "camera_fit.hpp"
#include "scene_parts.hpp"
#include "view_state.hpp"

#include <array>
#include <cstddef>
#include <vector>

// Background colour and depth testing; lighting stays off, matrix mode stays model-view.
void apply_fixed_state(const std::array<float, 4>& clear_color);

// Viewport over view.ww x view.hh and, in the model-view matrix, a 30 degree perspective between
// planes times the look from view_point at the origin with up direction view_upward.
void apply_camera(const view_state& view, const depth_range& planes);

// Clears the colour and depth buffers.
void clear_frame();

// Draws one frame after the clear, vertex by vertex: the three axes, the tracers as green points,
// the block faces white (pushed back by a polygon offset) and the block edges black on top of
// them, each part moved by its offset.
void draw_scene(const std::vector<scene_part>& parts);

// A frame recorded into buffer objects of the context that was current: every vertex of a block
// once, as floats, and the faces (each the fan of triangles GL makes of a polygon), edges and
// tracers as runs of or indices into them. Names are 0 when GL could not hold the frame; then
// replaying draws only the axes.
struct recorded_scene {
    unsigned vertex_buffer = 0;
    unsigned face_buffer = 0;
    unsigned edge_buffer = 0;
    int tracer_first = 0; // tracer points: a run of the vertex buffer
    int tracer_count = 0;
    int face_indices = 0;
    int edge_indices = 0;
    std::size_t bytes = 0; // what the buffers hold
};

// Records parts for replay_scene.
recorded_scene record_scene(const std::vector<scene_part>& parts);

// Draws a recorded frame after the clear: the same picture draw_scene gives of its parts.
void replay_scene(const recorded_scene& scene);

// Frees a recorded frame's buffers (its context must be current).
void delete_scene(const recorded_scene& scene);
