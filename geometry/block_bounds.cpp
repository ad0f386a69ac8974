#include "geometry/detail/block_bounds.hpp"

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

bounds_plane make_bounds_plane(const xyz& n, const xyz& p) {
    bounds_plane plane{n, p, {}, 0.0, 0.0};
    for (int k = 0; k < 3; ++k) {
        plane.abs_n[k] = std::abs(n[k]);
        plane.n_sum += plane.abs_n[k];
        plane.point_scale += plane.abs_n[k] * std::abs(p[k]);
    }
    return plane;
}
