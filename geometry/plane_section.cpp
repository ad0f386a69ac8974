#include "geometry/plane_section.hpp"

#include "geometry/detail/plane_side.hpp"

#include <algorithm>
#include <cmath>

namespace {

// Orders corners counter-clockwise about n by their angle about the corners' mean, starting from
// the corner farthest from it. The corners of a convex polygon have distinct angles.
void order_about(std::vector<xyz>& corners, const xyz& n) {
    xyz centre{0.0, 0.0, 0.0};
    for (const xyz& c : corners)
        for (int k = 0; k < 3; ++k)
            centre[k] += c[k] / static_cast<double>(corners.size());
    const auto farthest = std::max_element(corners.begin(), corners.end(), [&](auto& a, auto& b) {
        return dot(minus(a, centre), minus(a, centre)) < dot(minus(b, centre), minus(b, centre));
    });
    const xyz u = minus(*farthest, centre);
    const xyz v = cross(n, u);
    std::vector<std::pair<double, xyz>> keyed;
    keyed.reserve(corners.size());
    for (const xyz& c : corners) {
        const xyz r = minus(c, centre);
        keyed.emplace_back(std::atan2(dot(r, v), dot(r, u)), c);
    }
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < corners.size(); ++i)
        corners[i] = keyed[i].second;
}

} // namespace

std::vector<xyz> plane_section(const block_view& b, const plane& p) {
    const int nv = static_cast<int>(b.vertices.size());
    if (nv == 0)
        return {};
    const xyz& n = p.normal;
    const double tolerance =
        on_plane_distance(std::hypot(n[0], n[1], n[2]), bounds_of(b.vertices.data(), nv));
    std::vector<double> distance(nv);
    std::vector<signed char> side(nv);
    for (int v = 0; v < nv; ++v) {
        distance[v] = dot(n, minus(b.vertices[v], p.point));
        side[v] = side_of(distance[v], tolerance);
    }
    std::vector<xyz> corners;
    for (const edge& e : b.edges)
        if (side[e[0]] * side[e[1]] < 0)
            corners.push_back(
                edge_cut_point(b.vertices[e[0]], b.vertices[e[1]], distance[e[0]], distance[e[1]]));
    for (int v = 0; v < nv; ++v)
        if (side[v] == 0)
            corners.push_back(b.vertices[v]);
    if (corners.size() < 3)
        return {};
    order_about(corners, n);
    // Corners on one line (a plane along an edge, touching the block there) make no polygon.
    xyz twice_area{0.0, 0.0, 0.0};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const xyz a = cross(minus(corners[i], corners[0]),
                            minus(corners[(i + 1) % corners.size()], corners[0]));
        for (int k = 0; k < 3; ++k)
            twice_area[k] += a[k];
    }
    if (dot(twice_area, n) <= 0)
        return {};
    return corners;
}

std::optional<std::array<xyz, 2>> plane_crossing(std::span<const xyz> polygon, const plane& p) {
    const std::size_t n = polygon.size();
    if (n < 3)
        return std::nullopt;
    const double tolerance = on_plane_distance(std::hypot(p.normal[0], p.normal[1], p.normal[2]),
                                               bounds_of(polygon.data(), static_cast<int>(n)));
    std::vector<double> distance(n);
    std::vector<signed char> side(n);
    bool above = false;
    for (std::size_t i = 0; i < n; ++i) {
        distance[i] = dot(p.normal, minus(polygon[i], p.point));
        side[i] = side_of(distance[i], tolerance);
        above = above || side[i] > 0;
    }
    if (!above)
        return std::nullopt;
    std::vector<xyz> points;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = i + 1 == n ? 0 : i + 1;
        if (side[i] == 0)
            points.push_back(polygon[i]);
        if (side[i] * side[j] < 0)
            points.push_back(edge_cut_point(polygon[i], polygon[j], distance[i], distance[j]));
    }
    // The points lie on one line; rounding may add a third between the ends.
    std::array<xyz, 2> ends{};
    double longest = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i)
        for (std::size_t j = i + 1; j < points.size(); ++j)
            if (const xyz d = minus(points[j], points[i]); dot(d, d) > longest) {
                longest = dot(d, d);
                ends = {points[i], points[j]};
            }
    if (!(longest > 0.0))
        return std::nullopt;
    return ends;
}
