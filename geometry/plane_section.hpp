// The polygon where a plane meets a block, by the rule the cutting kernel classifies vertices by:
// sections of a block come out as the faces its cut would have made.
#pragma once

#include "block_set.hpp"

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
