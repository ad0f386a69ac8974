#include "model/boundary_from_faces.hpp"

#include "geometry/vector_utils.hpp"
#include "model/boundary_check.hpp"
#include "model/detail/boundary_geometry.hpp"

#include <algorithm>
#include <set>

namespace tolvex {

namespace {

bool corners_exist(const corner_list& corners, std::size_t vertex_count) {
    return std::all_of(corners.begin(), corners.end(),
                       [&](int i) { return i >= 0 && static_cast<std::size_t>(i) < vertex_count; });
}

} // namespace

block boundary_from_faces(point_list vertices, std::vector<index_list> faces) {
    block b;
    b.vertices = std::move(vertices);
    const vec3 inside = b.vertices.empty() ? make_vec3(0.0, 0.0, 0.0) : centroid(b.vertices);
    std::set<std::pair<int, int>> seen;
    for (const index_list& given : faces) {
        face f;
        f.indices.assign(given.begin(), given.end());
        const corner_list& corners = f.indices;
        // A face with a missing corner keeps the zero normal; the check names its corner.
        if (!corners.empty() && corners_exist(corners, b.vertices.size())) {
            const face_plane plane = plane_of_face(b.vertices, corners);
            const bool inward =
                boost::numeric::ublas::inner_prod(plane.normal, plane.point - inside) < 0.0;
            f.normal = inward ? vec3(-plane.normal) : plane.normal;
        }
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const edge e{corners[i], corners[(i + 1) % corners.size()]};
            if (seen.insert(std::minmax(e[0], e[1])).second)
                b.edges.push_back(e);
        }
        b.faces.push_back(std::move(f));
    }
    if (auto problem = check_boundary(b))
        throw boundary_error(std::move(*problem));
    return b;
}

} // namespace tolvex
