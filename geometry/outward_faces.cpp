#include "geometry/outward_faces.hpp"

#include "geometry/detail/block_faces.hpp"
#include "geometry/xyz.hpp"

#include <algorithm>
#include <cmath>
#include <span>

namespace tolvex {

namespace {

// Plain doubles: an export visits every face of every block, and uBLAS temporaries cost.
xyz to_xyz(const vec3& v) {
    return {v[0], v[1], v[2]};
}

// The normal of the corner order (Newell's sum about the corner mean, which is centre): the
// corners run counter-clockwise seen from the side it points to.
template <class Faces>
xyz corner_order_normal(const Faces& b, std::span<const int> corners, const xyz& centre) {
    xyz n{0.0, 0.0, 0.0};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const xyz a = minus(b.vertex(static_cast<std::size_t>(corners[i])), centre);
        const xyz c =
            minus(b.vertex(static_cast<std::size_t>(corners[(i + 1) % corners.size()])), centre);
        const xyz turn = cross(a, c);
        for (int k = 0; k < 3; ++k)
            n[k] += turn[k];
    }
    return n;
}

// x at unit length, turned to the side of outward; adding 0.0 makes a turned zero component +0, so
// that it is written as 0. The zero vector stays zero.
vec3 unit_outward(const xyz& x, const xyz& outward) {
    const double length = std::sqrt(dot(x, x));
    if (length == 0.0)
        return make_vec3(0.0, 0.0, 0.0);
    const double scale = dot(x, outward) < 0.0 ? -length : length;
    return make_vec3(x[0] / scale + 0.0, x[1] / scale + 0.0, x[2] / scale + 0.0);
}

// The normal of a face's corner order, and whether it points into the block.
struct face_turn {
    xyz normal;
    bool inward;
};

template <class Faces> face_turn turn_of(const Faces& b, std::span<const int> corners) {
    xyz centre{0.0, 0.0, 0.0};
    for (int i : corners)
        for (int a = 0; a < 3; ++a)
            centre[a] += b.vertex(static_cast<std::size_t>(i))[a];
    for (double& c : centre)
        c /= static_cast<double>(corners.size());
    const xyz n = corner_order_normal(b, corners, centre);
    // The side the block lies on is read at the vertex farthest from the face's plane: in a thin
    // sliver the nearer vertices may lie within rounding of it.
    double farthest = 0.0;
    for (std::size_t v = 0; v < b.vertex_count(); ++v) {
        const double d = dot(n, minus(b.vertex(v), centre));
        if (std::abs(d) > std::abs(farthest))
            farthest = d;
    }
    return {n, farthest > 0.0};
}

std::span<const int> corners_of(const face& f) {
    return {f.indices.data(), f.indices.size()};
}

face outward_face(const block& b, const face& f) {
    if (f.indices.size() < 3)
        return f;
    const face_turn t = turn_of(record_faces{b}, corners_of(f));
    const xyz& n = t.normal;
    face out = f;
    const xyz outward = t.inward ? xyz{-n[0], -n[1], -n[2]} : n;
    if (t.inward)
        std::reverse(out.indices.begin() + 1, out.indices.end());
    const xyz given = to_xyz(f.normal);
    const bool given_fits = dot(given, outward) != 0.0 || dot(outward, outward) == 0.0;
    out.normal = unit_outward(given_fits ? given : outward, outward);
    return out;
}

} // namespace

bool turns_inward(const block& b, const face& f) {
    return f.indices.size() >= 3 && turn_of(record_faces{b}, corners_of(f)).inward;
}

bool turns_inward(const block_view& b, std::size_t f) {
    return b.face_corners(f).size() >= 3 && turn_of(view_faces{b}, b.face_corners(f)).inward;
}

std::vector<face> outward_faces(const block& b) {
    std::vector<face> faces;
    faces.reserve(b.faces.size());
    for (const face& f : b.faces)
        faces.push_back(outward_face(b, f));
    return faces;
}

} // namespace tolvex
