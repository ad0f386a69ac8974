// plane_section on random cut blocks and planes (through inner points, vertices, edges, along
// faces) against the plane clipped by the block's face half-spaces: the same polygon, convex,
// counter-clockwise about the normal, never degenerate.
#include "geometry/cut_block.hpp"
#include "geometry/plane_section.hpp"
#include "geometry/vector_utils.hpp"
#include "tests/geometry/polyhedra.hpp"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using polygon = std::vector<xyz>;

xyz along(const xyz& a, double t, const xyz& b) {
    return {a[0] + t * b[0], a[1] + t * b[1], a[2] + t * b[2]};
}
xyz unit(const xyz& a) {
    const double l = std::sqrt(dot(a, a));
    return {a[0] / l, a[1] / l, a[2] / l};
}
xyz to_xyz(const vec3& v) {
    return {v[0], v[1], v[2]};
}

// Twice the area vector and the area centroid.
std::pair<xyz, xyz> area_and_centre(const polygon& p) {
    xyz area{0, 0, 0}, centre{0, 0, 0};
    double total = 0.0;
    for (std::size_t i = 1; i + 1 < p.size(); ++i) {
        const xyz a = cross(minus(p[i], p[0]), minus(p[i + 1], p[0]));
        const double w = std::sqrt(dot(a, a));
        for (int k = 0; k < 3; ++k) {
            area[k] += a[k];
            centre[k] += w * (p[0][k] + p[i][k] + p[i + 1][k]) / 3;
        }
        total += w;
    }
    for (double& c : centre)
        c = total > 0 ? c / total : 0.0;
    return {area, centre};
}

// A square in the plane far larger than the block, cut down by each face's half-space, a face
// reaching slack beyond its plane.
polygon clipped_plane(const block& b, const plane& p, double size, double slack) {
    const vec3 centre = centroid(b.vertices);
    const xyz n = unit(p.normal);
    const xyz u = unit(cross(n, std::abs(n[0]) < 0.6 ? xyz{1, 0, 0} : xyz{0, 1, 0}));
    const xyz v = cross(n, u);
    const xyz middle = along(to_xyz(centre), -dot(n, minus(to_xyz(centre), p.point)), n);
    polygon clip;
    for (const auto& [su, sv] : {std::pair{1, 1}, {-1, 1}, {-1, -1}, {1, -1}})
        clip.push_back(along(along(middle, 10 * size * su, u), 10 * size * sv, v));
    for (const face& f : b.faces) {
        xyz m = unit(to_xyz(face_normal(b, f)));
        const xyz corner = to_xyz(b.vertices[f.indices[0]]);
        if (dot(m, minus(corner, to_xyz(centre))) < 0)
            m = {-m[0], -m[1], -m[2]};
        auto beyond = [&](const xyz& x) { return dot(m, minus(x, corner)) - slack; };
        polygon kept;
        for (std::size_t i = 0; i < clip.size(); ++i) {
            const xyz& a = clip[i];
            const xyz& c = clip[(i + 1) % clip.size()];
            if (beyond(a) <= 0)
                kept.push_back(a);
            if ((beyond(a) <= 0) != (beyond(c) <= 0))
                kept.push_back(along(a, beyond(a) / (beyond(a) - beyond(c)), minus(c, a)));
        }
        clip = kept;
    }
    return clip;
}

plane random_plane(std::mt19937& rng, const block& b, int kind) {
    std::normal_distribution<double> g;
    const xyz any = unit({g(rng), g(rng), g(rng)});
    auto vertex = [&] { return to_xyz(b.vertices[rng() % b.vertices.size()]); };
    if (kind == 0) // through a vertex
        return {vertex(), any};
    if (kind == 1) { // along an edge
        const edge& e = b.edges[rng() % b.edges.size()];
        const xyz a = to_xyz(b.vertices[e[0]]);
        return {a, cross(minus(to_xyz(b.vertices[e[1]]), a), any)};
    }
    if (kind == 2) { // along a face, either way
        const face& f = b.faces[rng() % b.faces.size()];
        const xyz m = to_xyz(face_normal(b, f));
        return {to_xyz(b.vertices[f.indices[0]]), rng() % 2 ? m : xyz{-m[0], -m[1], -m[2]}};
    }
    return {to_xyz(centroid(b.vertices)), any}; // through the middle
}

TEST(PlaneSection, IsThePlaneClippedByTheFacesConvexAndCounterClockwise) {
    std::mt19937 rng(19);
    int polygons = 0;
    for (int model = 0; model < 24; ++model) {
        block start = model % 3 == 0   ? make_hull(rng)
                      : model % 3 == 1 ? make_prism(rng, 1.5)
                                       : make_bipyramid(rng);
        std::vector<fault> faults(5);
        for (fault& f : faults) {
            f.point = centroid(start.vertices);
            f.normal = make_vec3(rng() % 3 == 0, rng() % 3 == 1, 1.0);
            f.point[2] += std::uniform_real_distribution<double>(-0.5, 0.5)(rng);
            f.slip_mag = 0.0;
        }
        point_list tracers;
        const block_set set = cut_block_set({start}, faults, tracers);
        for (std::size_t i = 0; i < block_count(set); ++i) {
            const block_view view = view_of(set, i);
            const block b = to_block(view);
            double size = 0.0;
            for (const vec3& x : b.vertices)
                size = std::max(size, std::sqrt(dot(minus(to_xyz(x), view.vertices[0]),
                                                    minus(to_xyz(x), view.vertices[0]))));
            for (int kind = 0; kind < 4; ++kind) {
                SCOPED_TRACE(testing::Message()
                             << "model " << model << " block " << i << " kind " << kind);
                const plane p = random_plane(rng, b, kind);
                const polygon section = plane_section(view, p);
                const xyz n = unit(p.normal);
                const auto [area, centre] = area_and_centre(section);
                const auto [clip_area, clip_centre] =
                    area_and_centre(clipped_plane(b, p, size, 1e-10 * size));
                ASSERT_NEAR(dot(area, n), std::sqrt(dot(clip_area, clip_area)), 1e-7 * size * size);
                if (section.empty())
                    continue;
                ++polygons;
                for (int k = 0; k < 3; ++k)
                    ASSERT_NEAR(centre[k], clip_centre[k], 1e-7 * size);
                for (std::size_t c = 0; c < section.size(); ++c) {
                    const xyz& a = section[c];
                    const xyz& m = section[(c + 1) % section.size()];
                    const xyz& z = section[(c + 2) % section.size()];
                    ASSERT_GT(dot(minus(m, a), minus(m, a)), 0.0) << "corners " << c;
                    ASSERT_GE(dot(cross(minus(m, a), minus(z, m)), n), -1e-12 * size * size);
                }
            }
        }
    }
    EXPECT_GT(polygons, 500);
}

} // namespace
