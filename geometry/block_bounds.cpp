#include "block_bounds.hpp"

#include <algorithm>
#include <cmath>

block_bounds bounds_of(const xyz* points, int count) {
    xyz lo = points[0];
    xyz hi = points[0];
    for (int v = 1; v < count; ++v)
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], points[v][k]);
            hi[k] = std::max(hi[k], points[v][k]);
        }
    block_bounds b;
    for (int k = 0; k < 3; ++k) {
        b.centre[k] = 0.5 * (lo[k] + hi[k]);
        b.half_size[k] = 0.5 * (hi[k] - lo[k]);
    }
    return b;
}

int side_of_bounds(const block_bounds& b, const xyz& shift, const bounds_plane& plane) {
    double centre_distance = 0.0;
    double reach = 0.0;
    double size = 0.0;
    double scale = 0.0;
    for (int k = 0; k < 3; ++k) {
        const double c = b.centre[k] + shift[k];
        const double an = std::abs(plane.n[k]);
        centre_distance += plane.n[k] * (c - plane.p[k]);
        reach += an * b.half_size[k];
        size += b.half_size[k];
        scale += an * (std::abs(c) + std::abs(plane.p[k]) + b.half_size[k]);
    }
    // The on-plane tolerance is 1e-9 |n| times the box diagonal, at most 2e-9 |n|_1 times the sum
    // of the half sizes; distances round by a few units in the last place of scale.
    const double margin = 2.5e-9 * plane.n_sum * size + 1e-14 * scale;
    if (centre_distance - reach > margin)
        return 1;
    if (centre_distance + reach < -margin)
        return -1;
    return 0;
}
