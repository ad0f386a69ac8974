#include "outward_faces.hpp"

#include "vector_utils.hpp"

#include <algorithm>
#include <cmath>

namespace tolvex {

namespace {

// The normal of the face's corner order (Newell's sum about the corner mean): the corners run
// counter-clockwise seen from the side it points to.
vec3 corner_order_normal(const block& b, const index_list& corners, const vec3& centre) {
    vec3 n = make_vec3(0.0, 0.0, 0.0);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const vec3& a = b.vertices[static_cast<std::size_t>(corners[i])];
        const vec3& c = b.vertices[static_cast<std::size_t>(corners[(i + 1) % corners.size()])];
        n += cross_prod3(a - centre, c - centre);
    }
    return n;
}

// x at unit length, turned to the side of outward; adding 0.0 makes a turned zero component +0, so
// that it is written as 0. The zero vector stays zero.
vec3 unit_outward(const vec3& x, const vec3& outward) {
    const double length = boost::numeric::ublas::norm_2(x);
    if (length == 0.0)
        return x;
    const double scale = boost::numeric::ublas::inner_prod(x, outward) < 0.0 ? -length : length;
    return make_vec3(x[0] / scale + 0.0, x[1] / scale + 0.0, x[2] / scale + 0.0);
}

face outward_face(const block& b, const face& f) {
    if (f.indices.size() < 3)
        return f;
    point_list corners;
    for (int i : f.indices)
        corners.push_back(b.vertices[static_cast<std::size_t>(i)]);
    const vec3 centre = centroid(corners);
    const vec3 n = corner_order_normal(b, f.indices, centre);
    // The side the block lies on is read at the vertex farthest from the face's plane: in a thin
    // sliver the nearer vertices may lie within rounding of it.
    double farthest = 0.0;
    for (const vec3& v : b.vertices) {
        const double d = boost::numeric::ublas::inner_prod(n, v - centre);
        if (std::abs(d) > std::abs(farthest))
            farthest = d;
    }
    face out = f;
    const vec3 outward = farthest > 0.0 ? vec3(-n) : n;
    if (farthest > 0.0)
        std::reverse(out.indices.begin() + 1, out.indices.end());
    const bool given_fits = boost::numeric::ublas::inner_prod(f.normal, outward) != 0.0 ||
                            boost::numeric::ublas::norm_2(outward) == 0.0;
    out.normal = unit_outward(given_fits ? f.normal : outward, outward);
    return out;
}

} // namespace

std::vector<face> outward_faces(const block& b) {
    std::vector<face> faces;
    faces.reserve(b.faces.size());
    for (const face& f : b.faces)
        faces.push_back(outward_face(b, f));
    return faces;
}

} // namespace tolvex
