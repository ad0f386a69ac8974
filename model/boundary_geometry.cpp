#include "model/detail/boundary_geometry.hpp"

#include "geometry/vector_utils.hpp"
#include "io/number_text.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace tolvex {

namespace {

using boost::numeric::ublas::inner_prod;
using boost::numeric::ublas::norm_2;

// "0,0,-1", as a FACE= line writes a normal.
std::string direction_text(const vec3& v) {
    std::string text;
    for (int i = 0; i < 3; ++i) {
        // Rounded to three decimals; adding 0.0 turns -0 into 0.
        text += (i ? "," : "") + shortest_text(std::round(v[i] * 1000.0) / 1000.0 + 0.0);
    }
    return text;
}

// n . (a - b), written out: the loops over every vertex and face run it V x F times.
double dot_from(const vec3& n, const vec3& a, const vec3& b) {
    return n[0] * (a[0] - b[0]) + n[1] * (a[1] - b[1]) + n[2] * (a[2] - b[2]);
}

std::string vertex_text(int v) {
    return "vertex " + std::to_string(v);
}

// Beyond this, products of coordinates overflow and no distance can be trusted.
constexpr double coordinate_limit = 1e100;

std::optional<boundary_problem> far_vertex(const point_list& v) {
    for (std::size_t i = 0; i < v.size(); ++i)
        for (int c = 0; c < 3; ++c)
            if (!(std::abs(v[i][c]) <= coordinate_limit)) // not a number fails too
                return boundary_problem{boundary_part::vertex, static_cast<int>(i),
                                        vertex_text(static_cast<int>(i)) + " has the coordinate " +
                                            shortest_text(v[i][c]) +
                                            "; coordinates must lie between -1e100 and 1e100"};
    return std::nullopt;
}

// What counts as no distance. A vertex's digits fix it only to within the rounding of its
// coordinates, which matters for a small boundary far from the origin; a plane or line through
// vertices is fixed only as well as their spread allows: tilted by rounding / spread, it moves by
// that much times the boundary's size at its far end. Coordinates written to a few decimals are
// off by up to half a step each, a vertex by sqrt(3) halves, and a plane through three such corners
// by as much again at a fourth: that much more counts as no distance anywhere.
struct tolerance {
    double size;     // the diagonal of the bounding box
    double rounding; // how far a double may lie from where the exact shape has it
    double written;  // how far the written decimals may lie from it
    double zero() const { return 1e-9 * size + rounding + written; }
    double across(double spread) const { return zero() + rounding * size / spread; }
};

tolerance tolerance_of(const point_list& v, double written_step) {
    vec3 lo = v.front(), hi = v.front();
    double largest = 0.0;
    for (const vec3& p : v)
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], p[i]);
            hi[i] = std::max(hi[i], p[i]);
            largest = std::max(largest, std::abs(p[i]));
        }
    return {norm_2(hi - lo), 4.0 * std::numeric_limits<double>::epsilon() * largest,
            3.0 * std::sqrt(3.0) / 2.0 * written_step};
}

// Of all vertices at one place, the one with the lowest index that repeats an earlier one.
std::optional<boundary_problem> coincident_vertices(const point_list& v, double tol) {
    std::vector<int> order(v.size());
    std::iota(order.begin(), order.end(), 0);
    const auto x = [&](int i) { return v[static_cast<std::size_t>(i)][0]; };
    std::sort(order.begin(), order.end(), [&](int a, int b) { return x(a) < x(b); });
    std::pair<int, int> found{-1, -1}; // (later, earlier)
    for (std::size_t i = 0; i < order.size(); ++i)
        for (std::size_t j = i + 1; j < order.size() && x(order[j]) - x(order[i]) <= tol; ++j) {
            const auto [earlier, later] = std::minmax(order[i], order[j]);
            const bool better = found.first < 0 || std::pair(later, earlier) < found;
            if (better && norm_2(v[static_cast<std::size_t>(later)] -
                                 v[static_cast<std::size_t>(earlier)]) <= tol)
                found = {later, earlier};
        }
    if (found.first < 0)
        return std::nullopt;
    return boundary_problem{boundary_part::vertex, found.first,
                            vertex_text(found.first) + " lies at the same place as " +
                                vertex_text(found.second) + "; give each corner once"};
}

// The corner of c farthest from the line through a and b (from a when b is a).
int farthest_corner(const point_list& v, const corner_list& c, const vec3& a, const vec3& b) {
    const bool from_line = norm_2(b - a) > 0.0;
    double best = -1.0;
    int found = c.front();
    for (const int i : c) {
        const vec3 d = v[static_cast<std::size_t>(i)] - a;
        const double dist = from_line ? norm_2(cross_prod3(d, b - a)) : norm_2(d);
        if (dist > best) {
            best = dist;
            found = i;
        }
    }
    return found;
}

// Flatness is measured against the plane of three well spread corners, so the reason can say
// how far one corner lies off the plane of three others.
std::optional<boundary_problem> bent_face(const point_list& v, const corner_list& c, int k,
                                          const tolerance& tol) {
    const auto at = [&](int i) -> const vec3& { return v[static_cast<std::size_t>(i)]; };
    const int a = c.front();
    const int b = farthest_corner(v, c, at(a), at(a));
    const int d = farthest_corner(v, c, at(a), at(b));
    const vec3 across = cross_prod3(at(b) - at(a), at(d) - at(a));
    const vec3 n = normalize_vector(across);
    double worst = 0.0;
    int off = a;
    for (const int i : c) {
        const double dist = std::abs(inner_prod(n, at(i) - at(a)));
        if (dist > worst) {
            worst = dist;
            off = i;
        }
    }
    if (worst <= tol.across(norm_2(across) / norm_2(at(b) - at(a))))
        return std::nullopt;
    corner_list three{a, b, d};
    std::sort(three.begin(), three.end(), [&](int p, int q) {
        return std::find(c.begin(), c.end(), p) < std::find(c.begin(), c.end(), q);
    });
    return boundary_problem{boundary_part::face, k,
                            "FACE= is not flat: " + vertex_text(off) + " lies " +
                                general_text(worst) + " off the plane through vertices " +
                                std::to_string(three[0]) + ", " + std::to_string(three[1]) +
                                " and " + std::to_string(three[2])};
}

// Every corner must lie on the inner side of every side, in the face's own plane: this fails for
// a dented polygon and for corners listed out of order. spread is the face's (spread_of).
std::optional<boundary_problem> concave_face(const point_list& v, const corner_list& c, int k,
                                             const vec3& normal, const tolerance& tol,
                                             double spread) {
    const auto at = [&](int i) -> const vec3& { return v[static_cast<std::size_t>(i)]; };
    for (std::size_t i = 0; i < c.size(); ++i) {
        const int a = c[i], b = c[(i + 1) % c.size()];
        const vec3 side = at(b) - at(a);
        const vec3 inward = normalize_vector(cross_prod3(normal, side));
        double worst = -tol.across(std::min(spread, norm_2(side)));
        int out = -1;
        for (const int p : c) {
            const double dist = dot_from(inward, at(p), at(a));
            if (dist < worst) {
                worst = dist;
                out = p;
            }
        }
        if (out >= 0)
            return boundary_problem{boundary_part::face, k,
                                    "FACE= is not convex, or its corners are not in order around "
                                    "it: " +
                                        vertex_text(out) + " lies " + general_text(-worst) +
                                        " outside its side from vertex " + std::to_string(a) +
                                        " to vertex " + std::to_string(b)};
    }
    return std::nullopt;
}

// The least width of a face, roughly: twice its area over its extent from the first corner.
double spread_of(const point_list& v, const corner_list& c, const face_plane& plane) {
    double span = 0.0;
    for (const int i : c)
        span = std::max(
            span, norm_2(v[static_cast<std::size_t>(i)] - v[static_cast<std::size_t>(c.front())]));
    return 2.0 * plane.area / span;
}

std::optional<boundary_problem> face_shape(const point_list& v, const corner_list& c, int k,
                                           const face_plane& plane, const tolerance& tol) {
    const double spread = spread_of(v, c, plane);
    if (!(spread > 2.0 * tol.zero()))
        return boundary_problem{
            boundary_part::face, k,
            "FACE= encloses no area: its corners lie on one line, or are not in "
            "order around it"};
    if (auto p = bent_face(v, c, k, tol))
        return p;
    return concave_face(v, c, k, plane.normal, tol, spread);
}

// Turns every plane's normal away from the vertices' centroid, which lies inside a convex
// boundary, after checking that all vertices lie on that side and the centroid clearly so.
std::optional<boundary_problem> orient_outward(const block& b, std::vector<face_plane>& planes,
                                               const tolerance& tol, const part_namer& name) {
    const point_list& v = b.vertices;
    const vec3 inside = centroid(v);
    for (std::size_t k = 0; k < planes.size(); ++k) {
        face_plane& plane = planes[k];
        if (inner_prod(plane.normal, inside - plane.point) > 0.0)
            plane.normal = -plane.normal;
        const double near = tol.across(spread_of(v, b.faces[k].indices, plane));
        double worst = near;
        int out = -1;
        for (std::size_t i = 0; i < v.size(); ++i) {
            const double dist = dot_from(plane.normal, v[i], plane.point);
            if (dist > worst) {
                worst = dist;
                out = static_cast<int>(i);
            }
        }
        if (out >= 0)
            return boundary_problem{boundary_part::vertex, out,
                                    vertex_text(out) + " lies " + general_text(worst) +
                                        " outside the plane of " +
                                        name(boundary_part::face, static_cast<int>(k)) +
                                        ": the boundary is not convex"};
        if (inner_prod(plane.normal, plane.point - inside) <= near)
            return boundary_problem{boundary_part::face, static_cast<int>(k),
                                    "the boundary is flat: its vertices lie in the plane of this "
                                    "face, so it encloses no volume"};
    }
    return std::nullopt;
}

std::optional<boundary_problem> inward_normal(const std::vector<face>& faces,
                                              const std::vector<face_plane>& planes) {
    for (std::size_t k = 0; k < faces.size(); ++k) {
        const vec3& given = faces[k].normal;
        // Only the sense counts: file normals are integers, rarely at right angles to the face.
        if (inner_prod(given, planes[k].normal) > 1e-9 * norm_2(given))
            continue;
        return boundary_problem{boundary_part::face, static_cast<int>(k),
                                "the FACE= normal " + shortest_text(given[0]) + "," +
                                    shortest_text(given[1]) + "," + shortest_text(given[2]) +
                                    " does not point out of the boundary; this face looks out "
                                    "toward " +
                                    direction_text(planes[k].normal)};
    }
    return std::nullopt;
}

} // namespace

face_plane plane_of_face(const point_list& vertices, const corner_list& corners) {
    const auto at = [&](std::size_t i) -> const vec3& {
        return vertices[static_cast<std::size_t>(corners[i])];
    };
    // Sums of differences to the first corner keep their digits when the face lies far out.
    vec3 twice_area = make_vec3(0.0, 0.0, 0.0), offset = make_vec3(0.0, 0.0, 0.0);
    for (std::size_t i = 1; i < corners.size(); ++i) {
        offset += at(i) - at(0);
        if (i + 1 < corners.size())
            twice_area += cross_prod3(at(i) - at(0), at(i + 1) - at(0));
    }
    const double length = norm_2(twice_area);
    face_plane plane{at(0) + offset / static_cast<double>(corners.size()), make_vec3(0.0, 0.0, 0.0),
                     length / 2.0};
    if (length > 0.0)
        plane.normal = twice_area / length;
    return plane;
}

std::optional<boundary_problem> check_boundary_geometry(const block& b, const part_namer& name,
                                                        double written_step) {
    const point_list& v = b.vertices;
    if (auto p = far_vertex(v))
        return p;
    const tolerance tol = tolerance_of(v, written_step);
    if (auto p = coincident_vertices(v, tol.zero()))
        return p;
    std::vector<face_plane> planes;
    planes.reserve(b.faces.size());
    for (std::size_t k = 0; k < b.faces.size(); ++k) {
        planes.push_back(plane_of_face(v, b.faces[k].indices));
        if (auto p = face_shape(v, b.faces[k].indices, static_cast<int>(k), planes.back(), tol))
            return p;
    }
    return orient_outward(b, planes, tol, name);
}

std::optional<boundary_problem> inward_face_normal(const block& b) {
    const vec3 inside = centroid(b.vertices);
    std::vector<face_plane> planes;
    planes.reserve(b.faces.size());
    for (const face& f : b.faces) {
        planes.push_back(plane_of_face(b.vertices, f.indices));
        if (inner_prod(planes.back().normal, inside - planes.back().point) > 0.0)
            planes.back().normal = -planes.back().normal;
    }
    return inward_normal(b.faces, planes);
}

} // namespace tolvex
