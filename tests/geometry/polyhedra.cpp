#include "tests/geometry/polyhedra.hpp"

#include "geometry/vector_utils.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <utility>

namespace {

double dot(const vec3& a, const vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
double length(const vec3& a) {
    return std::sqrt(dot(a, a));
}
// Spelled out: the uBLAS expression temporaries trip gcc's maybe-uninitialized warning.
vec3 minus(const vec3& a, const vec3& b) {
    return make_vec3(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

double diameter(const block& b) {
    double d = 0.0;
    for (const vec3& p : b.vertices)
        for (const vec3& q : b.vertices)
            d = std::max(d, length(minus(p, q)));
    return d;
}

// Corners of a random convex polygon around the origin in the plane z = 0.
point_list random_polygon(std::mt19937& rng) {
    std::uniform_int_distribution<int> corners(3, 12);
    std::uniform_real_distribution<double> jitter(0.0, 0.4);
    std::uniform_real_distribution<double> radius(0.5, 3.0);
    const int n = corners(rng);
    // Corners on a circle, each within its own sector, so every gap is below pi and the origin
    // lies well inside.
    std::vector<double> angles(n);
    for (int k = 0; k < n; ++k)
        angles[k] = 2 * pi * (k + jitter(rng)) / n;
    const double r = radius(rng);
    point_list polygon;
    for (double a : angles)
        polygon.push_back(make_vec3(r * std::cos(a), r * std::sin(a), 0.0));
    return polygon;
}

std::string describe(const std::string& what, std::size_t where) {
    std::ostringstream out;
    out << what << " (at " << where << ")";
    return out.str();
}

std::string face_problem(const block& b, const face& f, double tol) {
    const int nv = static_cast<int>(b.vertices.size());
    if (f.indices.size() < 3)
        return "face with fewer than three corners";
    if (std::set<int>(f.indices.begin(), f.indices.end()).size() != f.indices.size())
        return "face with a repeated corner";
    for (int i : f.indices)
        if (i < 0 || i >= nv)
            return "face corner out of range";
    vec3 nrm = face_normal(b, f);
    nrm /= length(nrm);
    const vec3& origin = b.vertices[f.indices[0]];
    const std::size_t n = f.indices.size();
    for (std::size_t k = 0; k < n; ++k) {
        const vec3& p = b.vertices[f.indices[k]];
        if (std::abs(dot(minus(p, origin), nrm)) > tol)
            return "face not planar";
        const vec3 e1 = minus(b.vertices[f.indices[(k + 1) % n]], p);
        const vec3 e2 =
            minus(b.vertices[f.indices[(k + 2) % n]], b.vertices[f.indices[(k + 1) % n]]);
        if (dot(cross_prod3(e1, e2), nrm) < -1e-6 * length(e1) * length(e2))
            return "face not convex";
    }
    double lo = 0.0, hi = 0.0;
    for (const vec3& v : b.vertices) {
        lo = std::min(lo, dot(minus(v, origin), nrm));
        hi = std::max(hi, dot(minus(v, origin), nrm));
    }
    if (lo < -tol && hi > tol)
        return "block not convex: vertices on both sides of a face";
    return {};
}

} // namespace

block make_prism(std::mt19937& rng, double height) {
    return make_prism_over(random_polygon(rng), height);
}

block make_prism_over(const point_list& polygon, double height) {
    const int n = static_cast<int>(polygon.size());
    block b;
    face bottom{{}, make_vec3(0, 0, -1)}, top{{}, make_vec3(0, 0, 1)};
    for (int k = 0; k < n; ++k) {
        b.vertices.push_back(polygon[k]);
        b.edges.push_back({k, (k + 1) % n});
        bottom.indices.push_back(n - 1 - k);
        top.indices.push_back(n + k);
    }
    for (int k = 0; k < n; ++k) {
        b.vertices.push_back(polygon[k] + make_vec3(0, 0, height));
        b.edges.push_back({n + k, n + (k + 1) % n});
        b.edges.push_back({k, n + k});
    }
    b.faces = {bottom, top};
    for (int k = 0; k < n; ++k) {
        const int next = (k + 1) % n;
        b.faces.push_back(face{{k, next, n + next, n + k}, make_vec3(0, 0, 0)});
        b.faces.back().normal = face_normal(b, b.faces.back());
    }
    return b;
}

block make_bipyramid(std::mt19937& rng) {
    const point_list polygon = random_polygon(rng);
    const int n = static_cast<int>(polygon.size());
    block b;
    b.vertices = polygon;
    b.vertices.push_back(make_vec3(0.0, 0.0, 1.5));
    b.vertices.push_back(make_vec3(0.0, 0.0, -2.0));
    for (int k = 0; k < n; ++k) {
        const int next = (k + 1) % n;
        b.edges.push_back({k, next});
        b.edges.push_back({k, n});
        b.edges.push_back({k, n + 1});
        b.faces.push_back(face{{k, next, n}, make_vec3(0, 0, 0)});
        b.faces.push_back(face{{next, k, n + 1}, make_vec3(0, 0, 0)});
    }
    for (face& f : b.faces)
        f.normal = face_normal(b, f);
    return b;
}

namespace {

using triangle = std::array<int, 3>;

vec3 triangle_normal(const point_list& p, const triangle& t) {
    return cross_prod3(minus(p[t[1]], p[t[0]]), minus(p[t[2]], p[t[0]]));
}

// Adds point i to the hull: the faces it sees give way to a fan from it to their horizon.
void add_to_hull(const point_list& p, int i, std::vector<triangle>& faces) {
    std::vector<triangle> kept, seen;
    for (const triangle& t : faces)
        (dot(triangle_normal(p, t), minus(p[i], p[t[0]])) > 0 ? seen : kept).push_back(t);
    std::set<std::pair<int, int>> kept_sides;
    for (const triangle& t : kept)
        for (int k = 0; k < 3; ++k)
            kept_sides.emplace(t[k], t[(k + 1) % 3]);
    for (const triangle& t : seen)
        for (int k = 0; k < 3; ++k)
            if (kept_sides.count({t[(k + 1) % 3], t[k]}))
                kept.push_back({t[k], t[(k + 1) % 3], i});
    faces = std::move(kept);
}

} // namespace

block make_hull(std::mt19937& rng) {
    std::uniform_int_distribution<int> count(6, 24);
    std::uniform_real_distribution<double> axis(0.5, 3.0);
    std::normal_distribution<double> g;
    const vec3 axes = make_vec3(axis(rng), axis(rng), axis(rng));
    block b;
    const int n = count(rng);
    for (int k = 0; k < n; ++k) {
        const vec3 d = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
        b.vertices.push_back(make_vec3(d[0] * axes[0], d[1] * axes[1], d[2] * axes[2]));
    }
    std::vector<triangle> faces{{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {1, 3, 2}};
    if (dot(triangle_normal(b.vertices, faces[0]), minus(b.vertices[3], b.vertices[0])) > 0)
        for (triangle& t : faces)
            std::swap(t[1], t[2]);
    for (int i = 4; i < n; ++i)
        add_to_hull(b.vertices, i, faces);
    std::set<std::pair<int, int>> edges;
    for (const triangle& t : faces) {
        b.faces.push_back(face{{t[0], t[1], t[2]}, make_vec3(0, 0, 0)});
        b.faces.back().normal = face_normal(b, b.faces.back());
        for (int k = 0; k < 3; ++k)
            edges.insert(std::minmax(t[k], t[(k + 1) % 3]));
    }
    for (const auto& [x, y] : edges)
        b.edges.push_back({x, y});
    return b;
}

block triangulated(const block& b) {
    block out = b;
    out.faces.clear();
    for (const face& f : b.faces)
        for (std::size_t k = 1; k + 1 < f.indices.size(); ++k) {
            out.faces.push_back(face{{f.indices[0], f.indices[k], f.indices[k + 1]}, f.normal});
            if (k > 1)
                out.edges.push_back({f.indices[0], f.indices[k]});
        }
    return out;
}

vec3 face_normal(const block& b, const face& f) {
    // Relative to a corner: far from the origin the plain sum loses its digits.
    const vec3& origin = b.vertices[f.indices[0]];
    vec3 sum = make_vec3(0, 0, 0);
    const std::size_t n = f.indices.size();
    for (std::size_t k = 0; k < n; ++k)
        sum += cross_prod3(minus(b.vertices[f.indices[k]], origin),
                           minus(b.vertices[f.indices[(k + 1) % n]], origin));
    return sum;
}

double volume(const block& b) {
    const vec3 c = centroid(b.vertices);
    double v = 0.0;
    for (const face& f : b.faces)
        for (std::size_t k = 1; k + 1 < f.indices.size(); ++k) {
            const vec3 a = minus(b.vertices[f.indices[0]], c);
            const vec3 p = minus(b.vertices[f.indices[k]], c);
            const vec3 q = minus(b.vertices[f.indices[k + 1]], c);
            v += std::abs(dot(a, cross_prod3(p, q))) / 6.0;
        }
    return v;
}

std::string polyhedron_problem(const block& b) {
    const int nv = static_cast<int>(b.vertices.size());
    const double size = diameter(b);
    const double tol = 1e-7 * size;
    std::map<std::pair<int, int>, int> sides; // undirected edge -> faces using it as a side
    for (std::size_t j = 0; j < b.edges.size(); ++j) {
        const auto [a, c] = std::minmax(b.edges[j][0], b.edges[j][1]);
        if (a < 0 || c >= nv)
            return describe("edge end point out of range", j);
        if (!(length(minus(b.vertices[a], b.vertices[c])) > 1e-12 * size))
            return describe("zero-length edge", j);
        if (!sides.emplace(std::make_pair(a, c), 0).second)
            return describe("edge listed twice", j);
    }
    for (std::size_t i = 0; i < b.faces.size(); ++i) {
        const face& f = b.faces[i];
        if (std::string problem = face_problem(b, f, tol); !problem.empty())
            return describe(problem, i);
        for (std::size_t k = 0; k < f.indices.size(); ++k) {
            const auto side = std::minmax(f.indices[k], f.indices[(k + 1) % f.indices.size()]);
            const auto it = sides.find(side);
            if (it == sides.end())
                return describe("face side that is not an edge", i);
            ++it->second;
        }
    }
    for (const auto& [side, count] : sides)
        if (count != 2)
            return describe("edge not the side of exactly two faces", side.first);
    if (nv - static_cast<int>(b.edges.size()) + static_cast<int>(b.faces.size()) != 2)
        return "V - E + F is not 2";
    return {};
}

std::string containment_problem(const block& b, const vec3& point) {
    const vec3 c = centroid(b.vertices);
    const double tol = 1e-7 * diameter(b);
    for (const face& f : b.faces) {
        vec3 nrm = face_normal(b, f);
        nrm /= length(nrm);
        const vec3& origin = b.vertices[f.indices[0]];
        if (dot(minus(point, origin), nrm) * dot(minus(c, origin), nrm) < 0 &&
            std::abs(dot(minus(point, origin), nrm)) > tol)
            return "point outside its block";
    }
    return {};
}

bool identical_points(const point_list& a, const point_list& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const vec3& p, const vec3& q) {
        return p[0] == q[0] && p[1] == q[1] && p[2] == q[2];
    });
}

bool identical_blocks(const std::vector<block>& a, const std::vector<block>& b) {
    auto same_face = [](const face& f, const face& g) {
        return f.indices == g.indices && identical_points({f.normal}, {g.normal});
    };
    auto same_block = [&same_face](const block& x, const block& y) {
        return identical_points(x.vertices, y.vertices) && x.edges == y.edges &&
               std::equal(x.faces.begin(), x.faces.end(), y.faces.begin(), y.faces.end(),
                          same_face) &&
               x.fault_indices == y.fault_indices && x.tracer_indices == y.tracer_indices;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), same_block);
}
