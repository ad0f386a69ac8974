// The scene as GL draws it into whatever context is current: the fixed state, the camera for a
// view and the frame itself (axes, tracers, faces, edges), drawn from memory or recorded once
// into a buffer object and drawn from it. Shared by the window and offscreen pictures; showing
// the frame (buffer swap) is left to the caller.
#pragma once

#include "config/display_modes.hpp"
#include "view_math/camera_fit.hpp"
#include "view_math/frame_mesh.hpp"
#include "view_math/scene_parts.hpp"
#include "view_math/view_state.hpp"

#include <array>
#include <cstddef>
#include <vector>

// Background colour and depth testing; lighting stays off until a lit frame, matrix mode stays
// model-view.
void apply_fixed_state(const std::array<float, 4>& clear_color);

// Viewport over view.ww x view.hh, a 30 degree perspective between planes as the projection and
// the look from view_point at the origin with up direction view_upward as the model-view matrix.
void apply_camera(const view_state& view, const depth_range& planes);

// Clears the colour and depth buffers.
void clear_frame();

// Where the arrays of a frame_mesh's triangle_arrays lie for GL, with the number of triangle
// corners (indices in triangles).
struct triangle_layer {
    const void* points = nullptr;
    const void* normals = nullptr;
    const void* colours = nullptr;
    const void* triangles = nullptr;
    int corners = 0;
};

// Where the arrays of a frame_mesh lie for GL: in memory, or (as byte offsets) in the buffer
// object bound, as vertex and index buffer, while they draw; with the number of line ends and
// tracers.
struct mesh_arrays {
    triangle_layer faces;
    std::vector<corner_run> closed_runs; // as frame_mesh holds them
    std::vector<corner_run> open_runs;
    triangle_layer walls;
    triangle_layer horizons;
    const void* edge_ends = nullptr; // indices into faces.points
    const void* tracer_points = nullptr;
    const void* tracer_colours = nullptr;
    int edge_end_count = 0;
    int tracers = 0;
};

// Draws one frame after the clear straight from memory: the axis cross, the tracers (3-pixel
// points), the horizon pieces, the faces (pushed back by a polygon offset; see-through with
// depth writes off as modes ask), the fault surfaces see-through over the faces they lie on, all
// lit from the eye as modes ask, and the block edges black on top of them. With cull_hidden (as
// scene_in_front tells), the faces of opaque closed blocks turned away from the eye are left out:
// the faces turned to it hide them.
void draw_mesh(const frame_mesh& mesh, const display_modes& modes, bool cull_hidden);

// A frame recorded into one buffer object of the context that was current. buffer is 0 when GL
// could not hold the frame; then the caller draws it from memory instead.
struct recorded_scene {
    unsigned buffer = 0;
    mesh_arrays arrays;
    std::size_t bytes = 0; // what the buffer holds
};

// Records mesh for replay_scene.
recorded_scene record_scene(const frame_mesh& mesh);

// Draws a recorded frame after the clear: the same picture draw_mesh gives of its mesh.
void replay_scene(const recorded_scene& scene, const display_modes& modes, bool cull_hidden);

// Frees a recorded frame's buffer (its context must be current).
void delete_scene(const recorded_scene& scene);
