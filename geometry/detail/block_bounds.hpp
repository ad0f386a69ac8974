// An axis-aligned box around a block's vertices, so that a plane that misses the block is told
// apart in constant time, before any vertex is looked at.
#pragma once

#include "geometry/detail/work_block.hpp"

struct block_bounds {
    xyz centre{};
    xyz half_size{};
};

// The least and greatest coordinates of points taken in one by one, for a box built while the
// points are written. Minima and maxima do not round, so the box is the same in any order.
struct box_extent {
    xyz lo;
    xyz hi;

    explicit box_extent(const xyz& first) : lo(first), hi(first) {}
    void add(const xyz& x) {
        for (int k = 0; k < 3; ++k) {
            lo[k] = x[k] < lo[k] ? x[k] : lo[k];
            hi[k] = hi[k] < x[k] ? x[k] : hi[k];
        }
    }
    void add(const box_extent& other) {
        add(other.lo);
        add(other.hi);
    }
    block_bounds bounds() const {
        block_bounds b;
        for (int k = 0; k < 3; ++k) {
            b.centre[k] = 0.5 * (lo[k] + hi[k]);
            b.half_size[k] = 0.5 * (hi[k] - lo[k]);
        }
        return b;
    }
};

// The box around the first count points (count > 0).
block_bounds bounds_of(const xyz* points, int count);

// The box of a block where it stands, its pending shift applied, and the sum of its half sizes:
// all that testing a plane against the block reads, in one record, so that a plane that misses
// the block costs a few instructions and no look at its shape.
struct pending_box {
    block_bounds box;
    double size = 0.0;
};

// The box of vertices bounded by bounds, moved by shift.
pending_box pending_box_of(const block_bounds& bounds, const xyz& shift);

// A plane, with what every box test of it shares.
struct bounds_plane {
    xyz n;
    xyz abs_n;
    double n_p = 0.0;         // n . p for a point p of the plane
    double size_margin = 0.0; // per unit of a box's size
    double rounding = 0.0;    // for a box within the reach given to make_bounds_plane
};

// The plane with normal n through point p, for boxes no coordinate of whose centre exceeds reach
// in magnitude and which have been moved at most `moves` times since they were made.
bounds_plane make_bounds_plane(const xyz& n, const xyz& p, double reach, int moves);

// +1 when every vertex in the box lies on the positive side of the plane beyond the on-plane
// tolerance, -1 when every one lies on the negative side beyond it, 0 when the box alone cannot
// tell. The margin covers the tolerance relative to the block's size and the rounding of the
// distances (see make_bounds_plane). Every block is tested against every plane, so this is inline.
inline int side_of_bounds(const pending_box& b, const bounds_plane& plane) {
    const xyz& c = b.box.centre;
    const xyz& h = b.box.half_size;
    const double centre_distance =
        plane.n[0] * c[0] + plane.n[1] * c[1] + plane.n[2] * c[2] - plane.n_p;
    const double reach = plane.abs_n[0] * h[0] + plane.abs_n[1] * h[1] + plane.abs_n[2] * h[2];
    const double margin = plane.size_margin * b.size + plane.rounding;
    if (centre_distance - reach > margin)
        return 1;
    if (centre_distance + reach < -margin)
        return -1;
    return 0;
}
