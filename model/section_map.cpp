#include "model/section_map.hpp"

#include "geometry/plane_section.hpp"
#include "model/fault_label.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace tolvex {

namespace {

double turn(const map_point& o, const map_point& a, const map_point& b) {
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0]);
}

// Andrew's monotone chain: the hull counter-clockwise, without collinear corners.
std::vector<map_point> convex_hull(std::vector<map_point> points) {
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3)
        return points;
    std::vector<map_point> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && turn(hull[k - 2], hull[k - 1], points[i]) <= 0.0)
            --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && turn(hull[k - 2], hull[k - 1], points[i]) <= 0.0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return hull;
}

xyz to_xyz(const vec3& v) {
    return {v[0], v[1], v[2]};
}

vec3 in_file(const xyz& p, const vec3& centre) {
    return make_vec3(p[0] + centre[0], p[1] + centre[1], p[2] + centre[2]);
}

// The corners of every face of boundary whose normal points up.
std::vector<std::vector<xyz>> top_faces(const block& boundary) {
    std::vector<std::vector<xyz>> top;
    for (const face& f : boundary.faces) {
        const vec3& n = f.normal;
        if (!(n[2] > 1e-9 * std::hypot(n[0], n[1], n[2])))
            continue;
        std::vector<xyz>& corners = top.emplace_back();
        for (const int i : f.indices)
            corners.push_back(to_xyz(boundary.vertices[static_cast<std::size_t>(i)]));
    }
    return top;
}

std::vector<map_segment> outline_of(const horizon& h, const vec3& centre) {
    std::map<std::pair<int, int>, int> sides; // each side, lower corner first: its triangles
    for (const triangle& t : h.triangles)
        for (std::size_t k = 0; k < 3; ++k)
            ++sides[std::minmax(t[k], t[(k + 1) % 3])];
    std::vector<map_segment> outline;
    const auto at = [&](int i) {
        const vec3& v = h.vertices[static_cast<std::size_t>(i)];
        return map_point{v[0] + centre[0], v[1] + centre[1]};
    };
    for (const auto& [side, count] : sides)
        if (count == 1)
            outline.push_back({at(side.first), at(side.second)});
    return outline;
}

} // namespace

section_map section_map_of(const model_result& run, const std::vector<fault>& loaded) {
    const vec3& centre = run.centre;
    section_map map;
    std::vector<map_point> corners;
    for (const vec3& v : run.boundary.vertices)
        corners.push_back({v[0] + centre[0], v[1] + centre[1]});
    map.outline = convex_hull(std::move(corners));

    const std::vector<std::vector<xyz>> top = top_faces(run.boundary);
    for (std::size_t f = 0; f < loaded.size(); ++f) {
        const plane p{to_xyz(loaded[f].point - centre), to_xyz(loaded[f].normal)};
        for (const std::vector<xyz>& face_corners : top)
            if (const auto ends = plane_crossing(face_corners, p))
                map.fault_traces.push_back(
                    {f, in_file((*ends)[0], centre), in_file((*ends)[1], centre)});
    }
    map.fault_labels = fault_short_labels(loaded);

    for (const horizon& h : run.horizons) {
        map.horizon_names.push_back(h.name);
        map.horizon_outlines.push_back(outline_of(h, centre));
    }
    return map;
}

} // namespace tolvex
