// The map's fault traces on random convex boundaries far from the origin, as in UTM coordinates:
// every trace end lies on its fault's plane and on a side of an upward face of the boundary, and
// a fault whose plane splits an upward face leaves a trace.
#include "model/section_map.hpp"
#include "tests/geometry/polyhedra.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace tolvex;

namespace {

double distance_to_segment(const vec3& p, const vec3& a, const vec3& b) {
    const vec3 ab = b - a;
    const double t = std::clamp(inner_prod(p - a, ab) / inner_prod(ab, ab), 0.0, 1.0);
    return norm_2(p - (a + t * ab));
}

// Whether p lies on a side of an upward face of b.
bool on_top_side(const block& b, const vec3& p, double tolerance) {
    for (const face& f : b.faces) {
        if (!(f.normal[2] > 1e-9 * norm_2(f.normal)))
            continue;
        for (std::size_t k = 0; k < f.indices.size(); ++k) {
            const vec3& a = b.vertices[static_cast<std::size_t>(f.indices[k])];
            const vec3& c =
                b.vertices[static_cast<std::size_t>(f.indices[(k + 1) % f.indices.size()])];
            if (distance_to_segment(p, a, c) <= tolerance)
                return true;
        }
    }
    return false;
}

// Whether the plane of f has corners of one upward face of b beyond tolerance on both sides.
bool splits_top(const block& b, const fault& f, double tolerance) {
    for (const face& face : b.faces) {
        if (!(face.normal[2] > 1e-9 * norm_2(face.normal)))
            continue;
        bool above = false, below = false;
        for (const int i : face.indices) {
            const double d =
                inner_prod(f.normal, b.vertices[static_cast<std::size_t>(i)] - f.point);
            above = above || d > tolerance;
            below = below || d < -tolerance;
        }
        if (above && below)
            return true;
    }
    return false;
}

} // namespace

TEST(SectionMap, FaultTracesLieOnTheirPlanesAndOnTheTopsSides) {
    std::mt19937 rng(11);
    std::normal_distribution<double> g;
    const vec3 offset = make_vec3(612345.0, 4512345.0, 850.0);
    std::size_t traces = 0;
    for (int model = 0; model < 60; ++model) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        block boundary = model % 2 == 0 ? make_hull(rng) : make_prism(rng, 1.5);
        for (vec3& v : boundary.vertices)
            v = 500.0 * v + offset;
        std::vector<fault> faults(6);
        for (std::size_t f = 0; f < faults.size(); ++f) {
            faults[f].id = static_cast<int>(f) + 1;
            faults[f].normal = make_vec3(g(rng), g(rng), 0.3 * g(rng));
            faults[f].point = boundary.vertices[f % boundary.vertices.size()] +
                              100.0 * make_vec3(g(rng), g(rng), g(rng));
        }
        const section_map map = section_map_of(run_model(boundary, {}, {}), faults);

        const double tolerance = 1e-6 * 500.0;
        ASSERT_GE(map.outline.size(), 3u);
        std::vector<bool> traced(faults.size(), false);
        for (const map_trace& t : map.fault_traces) {
            ASSERT_LT(t.fault, faults.size());
            traced[t.fault] = true;
            const fault& f = faults[t.fault];
            for (const vec3& end : {t.from, t.to}) {
                EXPECT_LE(std::abs(inner_prod(f.normal, end - f.point)) / norm_2(f.normal),
                          tolerance);
                EXPECT_TRUE(on_top_side(boundary, end, tolerance))
                    << end[0] << ", " << end[1] << ", " << end[2];
            }
            ++traces;
        }
        for (std::size_t f = 0; f < faults.size(); ++f) {
            if (splits_top(boundary, faults[f], tolerance)) {
                EXPECT_TRUE(traced[f]) << "fault " << f << " splits the top but left no trace";
            }
        }
    }
    EXPECT_GT(traces, 100u);
}
