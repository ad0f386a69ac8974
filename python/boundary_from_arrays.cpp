#include "boundary_from_arrays.hpp"

#include "vector_utils.hpp"

#include <algorithm>
#include <boost/numeric/ublas/vector.hpp>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>

namespace tolvex {

namespace {

namespace ublas = boost::numeric::ublas;

// Distances below this share of the model's size count as zero: room for rounding in the
// coordinates, far below any real feature of a model.
constexpr double relative_tolerance = 1e-9;

std::string face_name(std::size_t k) {
    return "faces[" + std::to_string(k) + "]";
}

std::string vertex_name(int v) {
    return "vertices[" + std::to_string(v) + "]";
}

[[noreturn]] void reject(const std::string& reason) {
    throw std::invalid_argument("boundary: " + reason);
}

// The largest distance of a vertex from the first: the scale of the tolerances.
double model_size(const point_list& vertices) {
    double size = 0.0;
    for (const vec3& v : vertices)
        size = std::max(size, ublas::norm_2(v - vertices.front()));
    return size;
}

// Every side of every face once, in order of first use, after checking the corners. A closed
// surface has each side on exactly two faces.
std::vector<edge> face_sides(const std::vector<index_list>& faces, std::size_t vertex_count) {
    std::map<std::pair<int, int>, int> uses;
    std::vector<edge> edges;
    std::vector<bool> used(vertex_count, false);
    for (std::size_t k = 0; k < faces.size(); ++k) {
        const index_list& corners = faces[k];
        if (corners.size() < 3)
            reject(face_name(k) + " has " + std::to_string(corners.size()) +
                   " corners; a face needs at least three");
        for (const int c : corners) {
            if (c < 0 || static_cast<std::size_t>(c) >= vertex_count)
                reject(face_name(k) + ": corner " + std::to_string(c) +
                       " is not a vertex index (there are " + std::to_string(vertex_count) +
                       " vertices)");
            used[c] = true;
        }
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const int a = corners[i], b = corners[(i + 1) % corners.size()];
            if (++uses[std::minmax(a, b)] == 1)
                edges.push_back({a, b});
        }
    }
    for (const auto& [side, count] : uses)
        if (side.first == side.second || count != 2)
            reject("the side from " + vertex_name(side.first) + " to " + vertex_name(side.second) +
                   " belongs to " + std::to_string(count) +
                   " face(s); a closed boundary has each side on exactly two faces");
    const auto unused = std::find(used.begin(), used.end(), false);
    if (unused != used.end())
        reject(vertex_name(static_cast<int>(unused - used.begin())) + " is a corner of no face");
    return edges;
}

// The face's area vector (Newell's rule): twice its area long, turning with the corner order.
vec3 area_vector(const point_list& vertices, const index_list& corners) {
    vec3 n = make_vec3(0.0, 0.0, 0.0);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const vec3& a = vertices[corners[i]];
        const vec3& b = vertices[corners[(i + 1) % corners.size()]];
        n[0] += (a[1] - b[1]) * (a[2] + b[2]);
        n[1] += (a[2] - b[2]) * (a[0] + b[0]);
        n[2] += (a[0] - b[0]) * (a[1] + b[1]);
    }
    return n;
}

// The unit normal of face k pointing away from inside, after checking that the face is plane
// and that no vertex lies beyond it.
vec3 outward_normal(const point_list& vertices, const index_list& corners, std::size_t k,
                    const vec3& inside, double size) {
    const double tolerance = relative_tolerance * size;
    vec3 n = area_vector(vertices, corners);
    const double length = ublas::norm_2(n);
    if (!(length > tolerance * size))
        reject(face_name(k) + " has no area");
    n /= length;
    const vec3& p = vertices[corners.front()];
    if (ublas::inner_prod(n, inside - p) > 0.0)
        n = -n;
    for (const int c : corners)
        if (std::abs(ublas::inner_prod(n, vertices[c] - p)) > tolerance)
            reject(face_name(k) + " is not plane: its corner " + vertex_name(c) +
                   " lies off the plane of the others");
    for (std::size_t v = 0; v < vertices.size(); ++v)
        if (ublas::inner_prod(n, vertices[v] - p) > tolerance)
            reject(vertex_name(static_cast<int>(v)) + " lies outside the plane of " + face_name(k) +
                   ": the boundary is not convex");
    if (ublas::inner_prod(n, inside - p) > -tolerance)
        reject("the faces enclose no volume");
    return n;
}

} // namespace

block boundary_from_arrays(point_list vertices, std::vector<index_list> faces) {
    if (vertices.size() < 4 || faces.size() < 4)
        reject("a closed polyhedron needs at least 4 vertices and 4 faces, " +
               std::to_string(vertices.size()) + " and " + std::to_string(faces.size()) + " given");
    block b;
    b.edges = face_sides(faces, vertices.size());
    // A convex polyhedron holds the mean of its vertices strictly inside.
    const vec3 inside = centroid(vertices);
    const double size = model_size(vertices);
    b.faces.reserve(faces.size());
    for (std::size_t k = 0; k < faces.size(); ++k) {
        const vec3 n = outward_normal(vertices, faces[k], k, inside, size);
        b.faces.push_back({std::move(faces[k]), n});
    }
    b.vertices = std::move(vertices);
    return b;
}

} // namespace tolvex
