#include "geometry/detail/block_bounds.hpp"

#include <cmath>

block_bounds bounds_of(const xyz* points, int count) {
    box_extent extent(points[0]);
    for (int v = 1; v < count; ++v)
        extent.add(points[v]);
    return extent.bounds();
}

pending_box pending_box_of(const block_bounds& bounds, const xyz& shift) {
    pending_box b{bounds, 0.0};
    for (int k = 0; k < 3; ++k) {
        b.box.centre[k] += shift[k];
        b.size += bounds.half_size[k];
    }
    return b;
}

bounds_plane make_bounds_plane(const xyz& n, const xyz& p, double reach, int moves) {
    bounds_plane plane;
    plane.n = n;
    double n_sum = 0.0;
    double point_scale = 0.0;
    for (int k = 0; k < 3; ++k) {
        plane.abs_n[k] = std::abs(n[k]);
        plane.n_p += n[k] * p[k];
        n_sum += plane.abs_n[k];
        point_scale += plane.abs_n[k] * std::abs(p[k]);
    }
    // The on-plane tolerance is 1e-9 |n| times the box diagonal, at most 2e-9 |n|_1 times the sum
    // of the half sizes; the reach rounds by far less than 1e-14 of that. The centre distance
    // rounds by a few units in the last place of the magnitudes it is made of, |n|_1 reach and
    // |n| . |p|, and each move rounds a centre by half a unit in the last place of the reach.
    plane.size_margin = (2.5e-9 + 1e-14) * n_sum;
    plane.rounding = 1e-14 * (n_sum * reach + point_scale) + 2.3e-16 * (moves + 1) * n_sum * reach;
    return plane;
}
