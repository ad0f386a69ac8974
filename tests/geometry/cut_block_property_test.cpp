// Seeded random convex blocks cut by seeded random planes, in general position and through
// vertices, edges and faces; every cut must leave sound blocks that keep volume and indices.
#include "geometry/cut_block.hpp"
#include "geometry/vector_utils.hpp"
#include "tests/geometry/polyhedra.hpp"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace {

constexpr int carried_faults = 4;
constexpr int tracer_count = 40;
constexpr std::size_t max_blocks = 12;

double dot(const vec3& a, const vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

vec3 random_direction(std::mt19937& rng) {
    std::normal_distribution<double> g;
    return normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
}

int pick(std::mt19937& rng, std::size_t n) {
    return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(rng);
}

vec3 random_inner_point(std::mt19937& rng, const block& b) {
    std::uniform_real_distribution<double> weight(0.0, 1.0);
    vec3 p = make_vec3(0, 0, 0);
    double total = 0.0;
    for (const vec3& v : b.vertices) {
        const double w = weight(rng);
        p += w * v;
        total += w;
    }
    return p / total;
}

// Scales by a random power of ten from 1e-3 to 1e7 and moves away from the origin by up to 1e7,
// so tolerances must be relative. The offset stays within 1e3 sizes, so that the coordinates keep
// thirteen digits of the block's own extent.
block place_randomly(std::mt19937& rng, block b) {
    const double scale = std::pow(10.0, std::uniform_real_distribution<double>(-3, 7)(rng));
    const double distance = std::pow(10.0, std::uniform_real_distribution<double>(0, 3)(rng));
    const vec3 offset = random_direction(rng) * std::min(1e7, distance * scale);
    for (vec3& v : b.vertices)
        v = v * scale + offset;
    return b;
}

struct plane {
    vec3 point;
    vec3 normal;
};

// The plane through the line where two earlier planes meet, or none when they are near parallel.
std::optional<plane> through_meeting_line(std::mt19937& rng, const plane& p, const plane& q) {
    const vec3 d = cross_prod3(p.normal, q.normal);
    const double dd = dot(d, d);
    if (dd < 1e-6 * dot(p.normal, p.normal) * dot(q.normal, q.normal))
        return std::nullopt;
    const double hp = dot(p.normal, p.point);
    const double hq = dot(q.normal, q.point);
    std::normal_distribution<double> g;
    return plane{(hp * cross_prod3(q.normal, d) + hq * cross_prod3(d, p.normal)) / dd,
                 g(rng) * normalize_vector(p.normal) + g(rng) * normalize_vector(q.normal)};
}

// A plane through block b: kind 0 through an inner point, 1 through a vertex, 2 along an edge,
// 3 containing a face, 4 through three vertices (and through more on boxes and prisms). Kinds
// 5 to 7 go back to the earlier planes: 5 nearly coincides with one (its normal differs in the
// eleventh digit), 6 repeats one (its normal doubled, so that its cut faces tell from the
// earlier ones by their normal), 7 passes through the line where two meet.
plane random_plane(std::mt19937& rng, const block& b, int kind, const std::vector<plane>& earlier) {
    const double scale = std::pow(10.0, std::uniform_real_distribution<double>(-2, 2)(rng));
    const vec3 any = random_direction(rng);
    plane p{b.vertices[pick(rng, b.vertices.size())], any};
    if (kind >= 5 && !earlier.empty()) {
        const plane& one = earlier[pick(rng, earlier.size())];
        const plane& other = earlier[pick(rng, earlier.size())];
        if (kind == 5)
            return {one.point, one.normal + 1e-11 * std::sqrt(dot(one.normal, one.normal)) * any};
        if (kind == 6)
            return {one.point, 2.0 * one.normal};
        if (const std::optional<plane> meeting = through_meeting_line(rng, one, other))
            return *meeting;
    }
    if (kind == 0 || kind >= 5)
        p.point = random_inner_point(rng, b);
    if (kind == 2) {
        const edge& e = b.edges[pick(rng, b.edges.size())];
        p.point = b.vertices[e[0]];
        p.normal = normalize_vector(cross_prod3(b.vertices[e[1]] - b.vertices[e[0]], any));
    }
    if (kind == 3) {
        const face& f = b.faces[pick(rng, b.faces.size())];
        p.point = b.vertices[f.indices[0]];
        p.normal = normalize_vector(face_normal(b, f)) * (any[0] < 0 ? -1.0 : 1.0);
    }
    if (kind == 4) {
        const vec3& a = b.vertices[pick(rng, b.vertices.size())];
        const vec3& c = b.vertices[pick(rng, b.vertices.size())];
        const vec3 n = cross_prod3(c - p.point, a - p.point);
        if (std::sqrt(dot(n, n)) > 1e-6 * dot(c - p.point, c - p.point))
            p.normal = normalize_vector(n);
    }
    p.normal *= scale;
    return p;
}

// A block list with the fault points and tracers it carries. The carried faults have a zero
// normal, so their own passes cut and move nothing; one of them at a time is given the plane
// of the next cut.
struct random_model {
    std::mt19937& rng;
    std::vector<block> blocks;
    std::vector<fault> faults;
    point_list tracers;
    double volume_before = 0.0;
    double volume_now = 0.0;
    std::vector<plane> earlier;
    int cuts = 0;

    random_model(std::mt19937& r, block start) : rng(r) {
        for (int k = 0; k < tracer_count; ++k) {
            start.tracer_indices.push_back(k);
            tracers.push_back(random_inner_point(rng, start));
        }
        for (int k = 0; k < carried_faults; ++k) {
            start.fault_indices.push_back(k);
            faults.emplace_back();
            faults.back().normal = make_vec3(0, 0, 0);
            faults.back().point = random_inner_point(rng, start);
        }
        volume_before = volume(start);
        volume_now = volume_before;
        blocks.push_back(std::move(start));
    }

    // Blocks with vertices clearly on both sides of p, which the cut must split.
    std::size_t crossed_blocks(const plane& p) const {
        std::size_t crossed = 0;
        for (const block& b : blocks) {
            vec3 lo = b.vertices[0], hi = b.vertices[0];
            double most = -INFINITY, least = INFINITY;
            for (const vec3& v : b.vertices) {
                double d = 0.0;
                for (int k = 0; k < 3; ++k) {
                    lo[k] = std::min(lo[k], v[k]);
                    hi[k] = std::max(hi[k], v[k]);
                    d += (v[k] - p.point[k]) * p.normal[k];
                }
                most = std::max(most, d);
                least = std::min(least, d);
            }
            const vec3 extent = hi - lo;
            const double margin = 1e-6 * std::sqrt(dot(p.normal, p.normal) * dot(extent, extent));
            crossed += most > margin && least < -margin;
        }
        return crossed;
    }

    // Every other slip lies in the fault plane, so that both halves keep their cut faces on it
    // for later planes to meet.
    void cut(int step, int kinds) {
        const plane p = random_plane(rng, blocks[pick(rng, blocks.size())], step % kinds, earlier);
        earlier.push_back(p);
        fault& f = faults[step % carried_faults];
        f.point = p.point;
        f.normal = p.normal;
        f.slip_dir = random_direction(rng);
        if (step % 2 == 1)
            f.slip_dir = normalize_vector(
                f.slip_dir - p.normal * (dot(f.slip_dir, p.normal) / dot(p.normal, p.normal)));
        f.slip_mag = std::uniform_real_distribution<double>(0, 2)(rng) * std::cbrt(volume_before);
        const std::size_t before = blocks.size();
        const std::size_t crossed = crossed_blocks(p);
        blocks = cut_block(blocks, faults, tracers);
        cuts += static_cast<int>(blocks.size() - before);
        f.normal = make_vec3(0, 0, 0);
        f.slip_mag = 0.0;
        EXPECT_GE(blocks.size() - before, crossed);
        check(p.normal, blocks.size() - before);
    }

    void check(const vec3& n, std::size_t new_cuts) {
        double total = 0.0;
        std::vector<int> fault_seen(faults.size()), tracer_seen(tracers.size());
        std::size_t cut_faces = 0;
        for (std::size_t k = 0; k < blocks.size(); ++k) {
            const block& b = blocks[k];
            SCOPED_TRACE(k);
            ASSERT_EQ(polyhedron_problem(b), "");
            total += volume(b);
            for (int f : b.fault_indices)
                ++fault_seen.at(f);
            for (int t : b.tracer_indices) {
                ++tracer_seen.at(t);
                ASSERT_EQ(containment_problem(b, tracers[t]), "") << "tracer " << t;
            }
            // The cut face goes counter-clockwise about the fault normal in both halves.
            const face& last = b.faces.back();
            if (last.normal[0] == n[0] && last.normal[1] == n[1] && last.normal[2] == n[2]) {
                ++cut_faces;
                EXPECT_GT(dot(face_normal(b, last), n), 0.0);
            }
        }
        EXPECT_EQ(cut_faces, 2 * new_cuts);
        EXPECT_NEAR(total, volume_before, 1e-9 * volume_before);
        EXPECT_NEAR(total, volume_now, 1e-12 * volume_before);
        volume_now = total;
        EXPECT_EQ(std::count(fault_seen.begin(), fault_seen.end(), 1), carried_faults);
        EXPECT_EQ(std::count(tracer_seen.begin(), tracer_seen.end(), 1), tracer_count);
    }
};

// Cuts fresh blocks from make_shape until at least `target` blocks have been split, by planes
// of the first `kinds` kinds in turn.
void cut_until(int target, unsigned seed, const std::function<block(std::mt19937&)>& make_shape,
               int kinds = 5) {
    std::mt19937 rng(seed);
    int cuts = 0;
    while (cuts < target) {
        random_model model(rng, place_randomly(rng, make_shape(rng)));
        for (int step = 0; model.blocks.size() < max_blocks; ++step) {
            model.cut(step, kinds);
            if (::testing::Test::HasFailure())
                return;
        }
        cuts += model.cuts;
    }
}

TEST(CutBlockProperties, RandomBoxes) {
    cut_until(3400, 1, [](std::mt19937& rng) {
        std::uniform_real_distribution<double> side(0.2, 4.0);
        return make_box(make_vec3(0, 0, 0), make_vec3(side(rng), side(rng), side(rng)));
    });
}

TEST(CutBlockProperties, RandomPrisms) {
    cut_until(3400, 2, [](std::mt19937& rng) { return make_prism(rng, 1.5); });
}

// The apexes sit over the polygon's centre, so a plane through the polygon crosses no edge
// strictly: every corner of its cut face is a vertex on the plane.
TEST(CutBlockProperties, RandomBipyramids) {
    cut_until(3400, 3, [](std::mt19937& rng) { return make_bipyramid(rng); });
}

// Triangulated boundaries have coplanar and nearly coplanar neighbouring faces; planes that
// nearly coincide with, repeat or pass through the meeting lines of earlier ones leave vertices
// within the tolerance of the plane on faces that it crosses.
TEST(CutBlockProperties, TriangulatedBoundariesAndPlanesThatMeetEarlierOnes) {
    cut_until(
        2400, 4,
        [](std::mt19937& rng) {
            return rng() % 2 ? make_hull(rng) : triangulated(make_prism(rng, 1.5));
        },
        8);
}

} // namespace
