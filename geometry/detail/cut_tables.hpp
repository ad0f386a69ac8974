// The cut-face corners of a block and the polygon they form, derived from the block's faces and
// one classification of its vertices, so that every face side of each half has exactly one
// partner whatever the rounding of the vertex positions.
#pragma once

#include "geometry/detail/cut_workspace.hpp"
#include "geometry/xyz.hpp"

#include <algorithm>
#include <cmath>
#include <span>

// Fills vertex_corner, face_sides, intersection_pset and cut_edge_to_intersection_point for b,
// whose vertex_distance and vertex_side are set. Returns whether there are three corners or more.
bool fill_cut_tables(cut_workspace& ws, const work_block& b);

// Fills the polygon tables and on_plane_side_count. Each half keeps the faces with a vertex
// strictly on its side, clipped; its cut face closes every side of those faces that no other kept
// face shares. Returns false unless those sides form, for both halves alike, one simple polygon
// of three corners or more through every cut point.
bool order_cut_polygon(cut_workspace& ws, const work_block& b, const vec3& n);

// Where the halves' polygons disagree, vertices within the tolerance of the plane stand for an
// edge or face that the plane meets at a slant within that tolerance. Gives those vertices (pairs
// of them on a face side the plane crosses, the corners of faces lying on the plane; failing
// those, all vertices) the side their distance gives, unrounded. Returns whether a side changed.
bool take_sides_of_doubtful_vertices(cut_workspace& ws, const work_block& b);

// Position in corners (the polygon's corners in order, counter-clockwise about n, as positions
// among count candidate points) where its corners sorted by angle about their centroid, in
// (-pi, pi] from the direction of the first corner among the candidates, would begin: the first
// corner past the direction opposite that one. point(p) gives candidate p's position and
// on_polygon(p) whether it is a corner; the centroid adds the corners in candidate order, so every
// caller rounds it alike.
template <class Point, class OnPolygon>
int angle_order_start(int count, Point&& point, OnPolygon&& on_polygon,
                      std::span<const int> corners, const vec3& n) {
    const int m = static_cast<int>(corners.size());
    int first = count;
    xyz centre{0.0, 0.0, 0.0};
    for (int p = 0; p < count; ++p)
        if (on_polygon(p)) {
            for (int k = 0; k < 3; ++k)
                centre[k] += point(p)[k];
            first = std::min(first, p);
        }
    for (double& c : centre)
        c /= static_cast<double>(m);
    // In plain arithmetic, the same operations as normalize_vector and cross_prod3.
    auto radial = [&](int p) {
        const auto& x = point(p);
        return xyz{x[0] - centre[0], x[1] - centre[1], x[2] - centre[2]};
    };
    auto unit = [](const xyz& x) {
        const double length = std::sqrt(dot(x, x));
        return xyz{x[0] / length, x[1] / length, x[2] / length};
    };
    const xyz u = unit(radial(first));
    const xyz v = unit(cross({n[0], n[1], n[2]}, u));
    auto below = [&](int k) { return std::signbit(dot(radial(corners[k]), v)); };
    for (int k = 0; k < m; ++k)
        if (below(k) && !below((k + m - 1) % m))
            return k;
    // Degenerate polygons (corners all on one side of the centre line) fall back on the angles.
    int best = 0;
    double best_key = 0.0;
    for (int k = 0; k < m; ++k) {
        const xyz r = radial(corners[k]);
        const double key = std::atan2(dot(r, v), dot(r, u));
        if (k == 0 || key < best_key) {
            best = k;
            best_key = key;
        }
    }
    return best;
}
