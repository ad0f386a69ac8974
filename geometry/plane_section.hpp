// The polygon where a plane meets a block, by the rule the cutting kernel classifies vertices by:
// sections of a block come out as the faces its cut would have made.
#pragma once

#include "geometry/block_set.hpp"

#include <array>
#include <optional>
#include <span>
#include <vector>

struct plane {
    xyz point;
    xyz normal; // of any length but zero
};

// The corners, counter-clockwise about the normal: cut points of the edges whose ends lie
// strictly on opposite sides and the vertices on the plane (within the kernel's tolerance, see
// plane_side.hpp), so a plane along a face gives that face. Empty when the plane meets the block
// in less than a polygon: it misses it or touches only a vertex or an edge.
std::vector<xyz> plane_section(const block_view& b, const plane& p);

// Where the plane meets a flat convex polygon (corners in order), by the same rule with the
// polygon's own size: the segment through the corners on the plane and the cut points of the
// sides whose ends lie strictly on opposite sides. A polygon that meets the plane only along a
// side gives that side when the rest of it lies on the normal's side, so that of two polygons
// sharing a side in the plane one gives it. Nothing when it lies in the plane (its trace there is
// no line), touches it at a corner only or misses it.
std::optional<std::array<xyz, 2>> plane_crossing(std::span<const xyz> polygon, const plane& p);
