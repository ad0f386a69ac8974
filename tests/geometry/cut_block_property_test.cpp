// Seeded random convex blocks cut by seeded random planes, in general position and through
// vertices, edges and faces; every cut must leave sound blocks that keep volume and indices.
#include "cut_block.hpp"
#include "polyhedra.hpp"
#include "vector_utils.hpp"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

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

// Scales by a random power of ten and moves away from the origin, so tolerances must be relative.
block place_randomly(std::mt19937& rng, block b) {
    const double scale = std::pow(10.0, std::uniform_real_distribution<double>(-3, 3)(rng));
    const vec3 offset = random_direction(rng) * (100 * scale);
    for (vec3& v : b.vertices)
        v = v * scale + offset;
    return b;
}

struct plane {
    vec3 point;
    vec3 normal;
};

// A plane through block b: kind 0 through an inner point, 1 through a vertex, 2 along an edge,
// 3 containing a face, 4 through three vertices (and through more on boxes and prisms).
plane random_plane(std::mt19937& rng, const block& b, int kind) {
    const double scale = std::pow(10.0, std::uniform_real_distribution<double>(-2, 2)(rng));
    const vec3 any = random_direction(rng);
    plane p{b.vertices[pick(rng, b.vertices.size())], any};
    if (kind == 0)
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
        blocks.push_back(std::move(start));
    }

    void cut(int step) {
        const plane p = random_plane(rng, blocks[pick(rng, blocks.size())], step % 5);
        fault& f = faults[step % carried_faults];
        f.point = p.point;
        f.normal = p.normal;
        f.slip_dir = random_direction(rng);
        f.slip_mag = std::uniform_real_distribution<double>(0, 2)(rng) * std::sqrt(volume_before);
        const std::size_t before = blocks.size();
        blocks = cut_block(blocks, faults, tracers);
        cuts += static_cast<int>(blocks.size() - before);
        f.normal = make_vec3(0, 0, 0);
        f.slip_mag = 0.0;
        check(p.normal, blocks.size() - before);
    }

    void check(const vec3& n, std::size_t new_cuts) const {
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
        EXPECT_EQ(std::count(fault_seen.begin(), fault_seen.end(), 1), carried_faults);
        EXPECT_EQ(std::count(tracer_seen.begin(), tracer_seen.end(), 1), tracer_count);
    }
};

// Cuts fresh blocks from make_shape until at least `target` blocks have been split.
void cut_until(int target, unsigned seed, const std::function<block(std::mt19937&)>& make_shape) {
    std::mt19937 rng(seed);
    int cuts = 0;
    while (cuts < target) {
        random_model model(rng, place_randomly(rng, make_shape(rng)));
        for (int step = 0; model.blocks.size() < max_blocks; ++step) {
            model.cut(step);
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

} // namespace
