// An axis-aligned box around a block's vertices, so that a plane that misses the block is told
// apart in constant time, before any vertex is looked at.
#pragma once

#include "work_block.hpp"

struct block_bounds {
    xyz centre{};
    xyz half_size{};
};

// The box around the first count points (count > 0).
block_bounds bounds_of(const xyz* points, int count);

// A plane with normal n through point p, and the sum of |n|'s components.
struct bounds_plane {
    xyz n;
    xyz p;
    double n_sum;
};

// +1 when every vertex in the box, moved by shift, lies on the positive side of the plane beyond
// the on-plane tolerance, -1 when every one lies on the negative side beyond it, 0 when the box
// alone cannot tell. The margin covers the tolerance relative to the block's size and the rounding
// of the distances.
int side_of_bounds(const block_bounds& b, const xyz& shift, const bounds_plane& plane);
