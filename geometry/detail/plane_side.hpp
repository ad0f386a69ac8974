// How the kernel tells the sides of a plane apart: a vertex closer to the plane than a fraction of
// |n| times its block's size (the diagonal of the block's bounding box) lies on it, and an edge
// whose ends lie strictly on opposite sides is cut where its ends' distances weigh it.
#pragma once

#include "geometry/detail/block_bounds.hpp"

#include <cmath>

// Centring and moving leave rounding noise of a few units in the last place, far below it.
constexpr double on_plane_tolerance = 1e-9;

// The on-plane distance for a plane whose normal has length n_length (distances from it are not
// divided by that length) and a block with the given bounds.
inline double on_plane_distance(double n_length, const block_bounds& bounds) {
    const xyz& h = bounds.half_size;
    return on_plane_tolerance * n_length * std::hypot(2 * h[0], 2 * h[1], 2 * h[2]);
}

// +1, -1, or 0 within the tolerance of the plane.
inline signed char side_of(double distance, double tolerance) {
    return distance > tolerance ? 1 : distance < -tolerance ? -1 : 0;
}

// Where the edge from a to c meets the plane, given their distances from it, da and dc, on
// opposite sides.
inline xyz edge_cut_point(const xyz& a, const xyz& c, double da, double dc) {
    da = std::abs(da);
    dc = std::abs(dc);
    xyz x;
    for (int k = 0; k < 3; ++k)
        x[k] = (dc * a[k] + da * c[k]) / (da + dc);
    return x;
}
