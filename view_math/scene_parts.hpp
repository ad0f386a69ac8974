// A frame as the drawing sees it: blocks, tracer groups, fault surfaces and horizon pieces, each
// moved by an offset, and the box around them for fitting the camera. No GL needed.
#pragma once

#include "geometry/block.hpp"
#include "geometry/block_set.hpp"
#include "geometry/fault_surfaces.hpp"
#include "geometry/horizon_pieces.hpp"
#include "geometry/xyz.hpp"
#include "view_math/face_winding.hpp"

#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

// One piece of a frame: a block, a group of tracers, fault surfaces and horizon pieces, all drawn
// moved by offset. Any may be absent (null). number tells blocks apart for colouring; start_z,
// when given, holds each tracer's starting elevation; winding, when given, is the shape's as found
// beforehand. The pointers refer into lists that outlive the frame.
struct scene_part {
    std::optional<block_view> shape = std::nullopt;
    std::optional<face_winding> winding = std::nullopt;
    const point_list* tracers = nullptr;
    xyz offset{0.0, 0.0, 0.0};
    std::size_t number = 0;
    const std::vector<double>* start_z = nullptr;
    const fault_surfaces* walls = nullptr;
    const horizon_pieces* horizons = nullptr;
};

// A fault plane as a step applied it: the faces on the side its normal points to moved.
struct fault_plane {
    vec3 point = make_vec3(0.0, 0.0, 0.0);
    vec3 normal = make_vec3(0.0, 0.0, 1.0);
};

// The frame of plain lists: one part per block (numbered in order), then one part with all
// tracers, none moved. The parts point into the lists, so temporaries are refused.
std::vector<scene_part> parts_of(const block_set& blocks, const point_list& tracers);
std::vector<scene_part> parts_of(block_set&& blocks, const point_list& tracers) = delete;
std::vector<scene_part> parts_of(const block_set& blocks, point_list&& tracers) = delete;

// An axis-aligned box; empty (lo above hi) until a point is added.
struct scene_box {
    xyz lo{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
           std::numeric_limits<double>::infinity()};
    xyz hi{-std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
           -std::numeric_limits<double>::infinity()};
    bool empty() const { return lo[0] > hi[0]; }
};

// box grown to hold p moved by offset.
void add_point(scene_box& box, const vec3& p, const xyz& offset = {0.0, 0.0, 0.0});
void add_point(scene_box& box, const xyz& p, const xyz& offset = {0.0, 0.0, 0.0});

// box grown to hold every vertex, tracer and polygon corner of parts, where they are drawn.
void add_parts(scene_box& box, const std::vector<scene_part>& parts);
