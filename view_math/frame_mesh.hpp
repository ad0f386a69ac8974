// A frame as arrays ready for GL, built without GL: the faces, fault surfaces and horizon pieces
// as triangles with their normals and colours, the edges as line ends and the tracers as points
// with colours, each as the display modes ask. The window records these into buffers; pictures
// and a window whose buffers ran out draw them from memory.
#pragma once

#include "config/display_modes.hpp"
#include "geometry/horizon_colour.hpp"
#include "view_math/scene_parts.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// What colours a frame beyond its parts: the fault the shown step applied and the range of the
// tracers' starting elevations that the colour scale spans.
struct frame_colouring {
    std::optional<fault_plane> plane;
    std::array<double, 2> start_z_range{0.0, 0.0};
    std::vector<rgb_colour> horizons{}; // per horizon, its own colour; the palette's past them
};

// Triangle corners first..first+count-1 of a triangle_arrays (in its triangles).
struct corner_run {
    int first = 0;
    int count = 0;
};

// Filled polygons as triangles: each polygon's corners once, and its triangles as indices of them.
struct triangle_arrays {
    std::vector<float> points;            // x, y, z per polygon corner
    std::vector<float> normals;           // the polygon's normal at each corner
    std::vector<std::uint8_t> colours;    // r, g, b, a per corner
    std::vector<std::uint32_t> triangles; // three corners per triangle
};

struct frame_mesh {
    triangle_arrays faces; // the blocks' faces, in block order, normals as the blocks give them
    // The faces split into runs of whole blocks: those of opaque blocks whose faces close around
    // them, each face's triangles counter-clockwise seen from outside, so that the faces they turn
    // away from the eye lie behind the ones they turn to it; and the rest (all when see-through).
    std::vector<corner_run> closed_runs;
    std::vector<corner_run> open_runs;
    triangle_arrays walls;    // the fault surfaces
    triangle_arrays horizons; // the horizon pieces
    // The blocks' edges, two corners of faces per edge: an edge's ends are corners of its
    // block's faces (or, where no face has them, corners of faces.points that no triangle uses).
    std::vector<std::uint32_t> edge_ends;
    std::vector<float> tracer_points;         // x, y, z per tracer
    std::vector<std::uint8_t> tracer_colours; // r, g, b, a per tracer
};

// Opacity of see-through faces, 0..255.
constexpr std::uint8_t see_through_alpha = 80;
// Opacity of fault surfaces, 0..255: the blocks behind them still show.
constexpr std::uint8_t fault_surface_alpha = 150;

frame_mesh build_frame_mesh(const std::vector<scene_part>& parts, const display_modes& modes,
                            const frame_colouring& colouring);
