#include "model/boundary_reach.hpp"

#include "geometry/outward_faces.hpp"

#include <algorithm>

namespace tolvex {

namespace {

using boost::numeric::ublas::inner_prod;
using boost::numeric::ublas::norm_2;

double diagonal(const point_list& vertices) {
    vec3 lo = vertices.front(), hi = vertices.front();
    for (const vec3& p : vertices)
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], p[i]);
            hi[i] = std::max(hi[i], p[i]);
        }
    return norm_2(hi - lo);
}

} // namespace

points_outside points_outside_boundary(const block& boundary, const point_list& points) {
    points_outside out;
    if (boundary.vertices.empty())
        return out;
    const std::vector<face> faces = outward_faces(boundary);
    const double tolerance = 1e-9 * diagonal(boundary.vertices);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const bool outside = std::any_of(faces.begin(), faces.end(), [&](const face& f) {
            const vec3& corner = boundary.vertices[static_cast<std::size_t>(f.indices.front())];
            return inner_prod(f.normal, points[i] - corner) > tolerance;
        });
        if (outside && out.count++ == 0)
            out.first = i;
    }
    return out;
}

std::vector<std::size_t> faults_missing_boundary(const block& boundary,
                                                 const std::vector<fault>& faults) {
    std::vector<std::size_t> missing;
    if (boundary.vertices.empty())
        return missing;
    const double size = diagonal(boundary.vertices);
    for (std::size_t k = 0; k < faults.size(); ++k) {
        const fault& f = faults[k];
        const double tolerance = 1e-9 * size * norm_2(f.normal);
        bool positive = false, negative = false;
        for (const vec3& v : boundary.vertices) {
            const double d = inner_prod(f.normal, v - f.point);
            positive = positive || d > tolerance;
            negative = negative || d < -tolerance;
        }
        if (!(positive && negative))
            missing.push_back(k);
    }
    return missing;
}

} // namespace tolvex
