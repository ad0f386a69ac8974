// An axis-aligned box around a block's vertices, so that a plane that misses the block is told
// apart in constant time, before any vertex is looked at.
#pragma once

#include "geometry/detail/work_block.hpp"

struct block_bounds {
    xyz centre{};
    xyz half_size{};
};

// The box around the first count points (count > 0).
block_bounds bounds_of(const xyz* points, int count);

// A plane with normal n through point p, with what every box test of it shares.
struct bounds_plane {
    xyz n;
    xyz p;
    xyz abs_n;          // |n| by component
    double n_sum;       // the sum of abs_n
    double point_scale; // abs_n . |p|
};

bounds_plane make_bounds_plane(const xyz& n, const xyz& p);

// +1 when every vertex in the box, moved by shift, lies on the positive side of the plane beyond
// the on-plane tolerance, -1 when every one lies on the negative side beyond it, 0 when the box
// alone cannot tell. The margin covers the tolerance relative to the block's size and the rounding
// of the distances. Every block is tested against every plane, so this is inline.
inline int side_of_bounds(const block_bounds& b, const xyz& shift, const bounds_plane& plane) {
    double centre_distance = 0.0;
    double reach = 0.0;
    double size = 0.0;
    double centre_scale = 0.0;
    for (int k = 0; k < 3; ++k) {
        const double c = b.centre[k] + shift[k];
        centre_distance += plane.n[k] * (c - plane.p[k]);
        reach += plane.abs_n[k] * b.half_size[k];
        size += b.half_size[k];
        centre_scale += plane.abs_n[k] * (c < 0 ? -c : c);
    }
    // The on-plane tolerance is 1e-9 |n| times the box diagonal, at most 2e-9 |n|_1 times the sum
    // of the half sizes; distances round by a few units in the last place of the sum of the
    // magnitudes they are made of.
    const double margin =
        2.5e-9 * plane.n_sum * size + 1e-14 * (centre_scale + plane.point_scale + reach);
    if (centre_distance - reach > margin)
        return 1;
    if (centre_distance + reach < -margin)
        return -1;
    return 0;
}
