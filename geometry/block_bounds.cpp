#include "geometry/detail/block_bounds.hpp"

#include <cmath>

block_bounds bounds_of(const xyz* points, int count) {
    box_extent extent(points[0]);
    for (int v = 1; v < count; ++v)
        extent.add(points[v]);
    return extent.bounds();
}

block_bounds pending_box_of(const block_bounds& bounds, const xyz& shift) {
    block_bounds b = bounds;
    for (int k = 0; k < 3; ++k)
        b.centre[k] += shift[k];
    return b;
}

void add_box(box_lists& boxes, const block_bounds& box) {
    for (int k = 0; k < 3; ++k) {
        boxes.centre[k].push_back(box.centre[k]);
        boxes.half_size[k].push_back(box.half_size[k]);
    }
}

void set_box(box_lists& boxes, int s, const block_bounds& box) {
    for (int k = 0; k < 3; ++k) {
        boxes.centre[k][s] = box.centre[k];
        boxes.half_size[k][s] = box.half_size[k];
    }
}

bounds_plane make_bounds_plane(const xyz& n, const xyz& p, double reach, int moves) {
    bounds_plane plane;
    plane.n = n;
    double n_sum = 0.0;
    double point_scale = 0.0;
    for (int k = 0; k < 3; ++k) {
        plane.n_p += n[k] * p[k];
        n_sum += std::abs(n[k]);
        point_scale += std::abs(n[k] * p[k]);
    }
    // The on-plane tolerance is 1e-9 |n| times the box diagonal, at most 2e-9 |n|_1 times the sum
    // of the half sizes, so widening every weight by 2.5e-9 |n|_1 covers it; the box's reach
    // rounds by far less than 1e-14 of that. The centre distance rounds by a few units in the last
    // place of the magnitudes it is made of, |n|_1 reach and |n| . |p|, and each move rounds a
    // centre by half a unit in the last place of the reach.
    const double size_margin = (2.5e-9 + 1e-14) * n_sum;
    for (int k = 0; k < 3; ++k)
        plane.weight[k] = std::abs(n[k]) + size_margin;
    plane.rounding = 1e-14 * (n_sum * reach + point_scale) + 2.3e-16 * (moves + 1) * n_sum * reach;
    return plane;
}

void sides_of_boxes(const box_lists& boxes, int begin, int end, const bounds_plane& plane,
                    double* sides) {
    const double* const cx = boxes.centre[0].data();
    const double* const cy = boxes.centre[1].data();
    const double* const cz = boxes.centre[2].data();
    const double* const hx = boxes.half_size[0].data();
    const double* const hy = boxes.half_size[1].data();
    const double* const hz = boxes.half_size[2].data();
    const auto [nx, ny, nz] = plane.n;
    const auto [wx, wy, wz] = plane.weight;
    const double n_p = plane.n_p;
    const double rounding = plane.rounding;
    // Branch-free, with the sides as doubles (the compiler turns a comparison of doubles into an
    // integer only one at a time), so that the loop runs two or more boxes to an instruction.
    for (int s = begin; s < end; ++s) {
        const double d = nx * cx[s] + ny * cy[s] + nz * cz[s] - n_p;
        const double r = wx * hx[s] + wy * hy[s] + wz * hz[s] + rounding;
        sides[s - begin] = (d > r ? 1.0 : 0.0) - (d < -r ? 1.0 : 0.0);
    }
}
