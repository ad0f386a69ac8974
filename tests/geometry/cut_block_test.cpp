#include "geometry/cut_block.hpp"
#include "tests/geometry/polyhedra.hpp"
#include "tests/support/expect_point.hpp"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

void expect_vertices(const block& b, const std::vector<std::array<double, 3>>& expected) {
    ASSERT_EQ(b.vertices.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        SCOPED_TRACE(k);
        expect_point(b.vertices[k], expected[k][0], expected[k][1], expected[k][2]);
    }
}

void expect_faces(const block& b, const std::vector<corner_list>& corners,
                  const std::vector<std::array<double, 3>>& normals) {
    ASSERT_EQ(b.faces.size(), corners.size());
    for (std::size_t k = 0; k < corners.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(b.faces[k].indices, corners[k]);
        expect_point(b.faces[k].normal, normals[k][0], normals[k][1], normals[k][2]);
    }
}

fault make_fault(const vec3& point, const vec3& normal, const vec3& slip_dir, double slip_mag) {
    fault f;
    f.point = point;
    f.normal = normal;
    f.slip_dir = slip_dir;
    f.slip_mag = slip_mag;
    return f;
}

// The cube split at z = 0, its upper half moved by (2, 0, 0).
struct cube_cut : ::testing::Test {
    std::vector<fault> faults{
        make_fault(make_vec3(0, 0, 0), make_vec3(0, 0, 1), make_vec3(1, 0, 0), 2.0)};
    point_list tracers{make_vec3(0.5, 0.5, 0.5), make_vec3(0, 0, 0), make_vec3(0, 0, -0.5)};
    block cube = [] {
        block b = make_cube();
        b.fault_indices = {0};
        b.tracer_indices = {0, 1, 2};
        return b;
    }();
};

const std::vector<edge> half_edges{{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}, {1, 5},
                                   {2, 6}, {3, 7}, {7, 4}, {4, 5}, {5, 6}, {6, 7}};

TEST_F(cube_cut, UpperHalfMovesFirstAndLowerHalfStays) {
    const std::vector<block> out = cut_block({cube}, faults, tracers);
    ASSERT_EQ(out.size(), 2u);

    const block& upper = out[0];
    expect_vertices(upper, {{1, -1, 1},
                            {3, -1, 1},
                            {3, 1, 1},
                            {1, 1, 1},
                            {1, -1, 0},
                            {3, -1, 0},
                            {3, 1, 0},
                            {1, 1, 0}});
    EXPECT_EQ(upper.edges, half_edges);
    expect_faces(
        upper, {{0, 1, 2, 3}, {4, 5, 1, 0}, {5, 6, 2, 1}, {6, 7, 3, 2}, {7, 4, 0, 3}, {7, 4, 5, 6}},
        {{0, 0, 1}, {0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}});
    EXPECT_EQ(upper.fault_indices, index_list{0});
    EXPECT_EQ(upper.tracer_indices, (index_list{0, 1}));

    const block& lower = out[1];
    expect_vertices(lower, {{-1, -1, -1},
                            {1, -1, -1},
                            {1, 1, -1},
                            {-1, 1, -1},
                            {-1, -1, 0},
                            {1, -1, 0},
                            {1, 1, 0},
                            {-1, 1, 0}});
    EXPECT_EQ(lower.edges, half_edges);
    expect_faces(
        lower, {{0, 3, 2, 1}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}, {7, 4, 5, 6}},
        {{0, 0, -1}, {0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}});
    EXPECT_TRUE(lower.fault_indices.empty());
    EXPECT_EQ(lower.tracer_indices, index_list{2});

    // Points on the plane travel with the upper half; the fault's own point is one of them.
    expect_point(tracers[0], 2.5, 0.5, 0.5);
    expect_point(tracers[1], 2, 0, 0);
    expect_point(tracers[2], 0, 0, -0.5);
    expect_point(faults[0].point, 2, 0, 0);
    expect_point(faults[0].normal, 0, 0, 1);
    expect_point(faults[0].slip_dir, 1, 0, 0);
}

TEST_F(cube_cut, PlaneAboveLeavesEverythingAndPlaneBelowMovesTheWholeBlock) {
    faults[0].point = make_vec3(0, 0, 5);
    EXPECT_TRUE(identical_points(cut_block({cube}, faults, tracers)[0].vertices, cube.vertices));
    expect_point(tracers[0], 0.5, 0.5, 0.5);
    // A fault point moves by its side of the plane, not by its block's: on the plane, it slides
    // along it like the positive side.
    expect_point(faults[0].point, 2, 0, 5);

    faults[0].point = make_vec3(0, 0, -5);
    const std::vector<block> out = cut_block({cube}, faults, tracers);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].edges, cube.edges);
    EXPECT_EQ(out[0].faces.size(), 6u);
    expect_point(out[0].vertices[6], 3, 1, 1);
    expect_point(tracers[2], 2, 0, -0.5);
    expect_point(faults[0].point, 2, 0, -5);
}

TEST_F(cube_cut, SecondFaultCutsOnlyTheMovedUpperHalf) {
    faults.push_back(make_fault(make_vec3(0, 0, 0), make_vec3(1, 0, 0), make_vec3(1, 0, 0), 0.0));
    cube.fault_indices = {0, 1};
    const std::vector<block> out = cut_block({cube}, faults, tracers);
    expect_point(faults[1].point, 2, 0, 0);
    ASSERT_EQ(out.size(), 3u);
    const double x_ranges[3][2] = {{2, 3}, {1, 2}, {-1, 1}};
    for (int k = 0; k < 3; ++k) {
        double lo = 1e9, hi = -1e9;
        for (const vec3& v : out[k].vertices) {
            lo = std::min(lo, v[0]);
            hi = std::max(hi, v[0]);
        }
        EXPECT_NEAR(lo, x_ranges[k][0], 1e-12) << k;
        EXPECT_NEAR(hi, x_ranges[k][1], 1e-12) << k;
        EXPECT_EQ(polyhedron_problem(out[k]), "") << k;
    }
}

TEST_F(cube_cut, CuttingOffOneCornerGivesATetrahedronAndItsComplement) {
    faults[0] = make_fault(make_vec3(1, 1, 0), make_vec3(1, 1, 1), make_vec3(1, 0, 0), 0.0);
    const std::vector<block> out = cut_block({cube}, faults, tracers);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].vertices.size(), 4u);
    EXPECT_EQ(out[0].edges.size(), 6u);
    ASSERT_EQ(out[0].faces.size(), 4u);
    for (const face& f : out[0].faces)
        EXPECT_EQ(f.indices.size(), 3u);
    EXPECT_EQ(out[1].vertices.size(), 10u);
    EXPECT_EQ(out[1].edges.size(), 15u);
    ASSERT_EQ(out[1].faces.size(), 7u);
    int pentagons = 0;
    for (const face& f : out[1].faces)
        pentagons += f.indices.size() == 5;
    EXPECT_EQ(pentagons, 3);
    EXPECT_EQ(out[1].faces.back().indices.size(), 3u);
}

TEST_F(cube_cut, OnlyTheBlockThePlaneCrossesIsSplitAndTheOrderIsKept) {
    const block below = make_box(make_vec3(-1, -1, -4), make_vec3(1, 1, -2));
    const block further_below = make_box(make_vec3(3, -1, -4), make_vec3(5, 1, -2));
    cube.tracer_indices.clear();
    const std::vector<block> out = cut_block({below, cube, further_below}, faults, tracers);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_TRUE(identical_points(out[0].vertices, below.vertices));
    expect_point(out[1].vertices[0], 1, -1, 1);
    expect_point(out[2].vertices[0], -1, -1, -1);
    EXPECT_TRUE(identical_points(out[3].vertices, further_below.vertices));
}

TEST_F(cube_cut, IndexOutsideTheListsThrowsAndChangesNothing) {
    cube.tracer_indices = {0, 3};
    EXPECT_THROW(cut_block({cube}, faults, tracers), std::out_of_range);
    cube.tracer_indices = {0};
    cube.fault_indices = {-1};
    EXPECT_THROW(cut_block({cube}, faults, tracers), std::out_of_range);
    expect_point(tracers[0], 0.5, 0.5, 0.5);
    expect_point(faults[0].point, 0, 0, 0);
}

TEST_F(cube_cut, BlockTooLargeForItsLocalIndicesThrowsAndChangesNothing) {
    cube.vertices.resize(65535, cube.vertices[0]);
    EXPECT_THROW(cut_block({cube}, faults, tracers), std::length_error);
    expect_point(tracers[0], 0.5, 0.5, 0.5);
    expect_point(faults[0].point, 0, 0, 0);
}

TEST_F(cube_cut, EmptyListsComeBackAsGiven) {
    EXPECT_TRUE(cut_block({}, faults, tracers).empty());
    std::vector<fault> none;
    EXPECT_TRUE(identical_points(cut_block({cube}, none, tracers)[0].vertices, cube.vertices));
}

// Planes through vertices: those vertices belong to both halves and are corners of the cut face.
TEST_F(cube_cut, DiagonalPlaneThroughFourVerticesGivesTwoPrisms) {
    faults[0] = make_fault(make_vec3(0, 0, 0), make_vec3(1, -1, 0), make_vec3(1, 0, 0), 0.0);
    const std::vector<block> out = cut_block({cube}, faults, tracers);
    ASSERT_EQ(out.size(), 2u);
    for (const block& half : out) {
        EXPECT_EQ(polyhedron_problem(half), "");
        EXPECT_EQ(half.vertices.size(), 6u);
        EXPECT_EQ(half.edges.size(), 9u);
        EXPECT_EQ(half.faces.size(), 5u);
        EXPECT_DOUBLE_EQ(volume(half), 4.0);
    }
}

TEST_F(cube_cut, PlaneThroughThreeVerticesCutsOffATetrahedronWithoutNewVertices) {
    faults[0] = make_fault(make_vec3(1, 1, -1), make_vec3(1, 1, 1), make_vec3(1, 0, 0), 0.0);
    const std::vector<block> out = cut_block({cube}, faults, tracers);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(polyhedron_problem(out[0]), "");
    EXPECT_EQ(polyhedron_problem(out[1]), "");
    EXPECT_EQ(out[0].vertices.size(), 4u);
    EXPECT_EQ(out[0].edges.size(), 6u);
    EXPECT_EQ(out[0].faces.size(), 4u);
    EXPECT_EQ(out[1].vertices.size(), 7u);
    EXPECT_EQ(out[1].edges.size(), 12u);
    EXPECT_EQ(out[1].faces.size(), 7u);
    EXPECT_DOUBLE_EQ(volume(out[0]), 4.0 / 3.0);
}

TEST_F(cube_cut, PlaneContainingAFaceMovesTheBlockOnlyWhenItLiesOnThePositiveSide) {
    faults[0].point = make_vec3(0, 0, 1);
    EXPECT_TRUE(identical_points(cut_block({cube}, faults, tracers)[0].vertices, cube.vertices));
    faults[0].point = make_vec3(0, 0, -1);
    const std::vector<block> out = cut_block({cube}, faults, tracers);
    ASSERT_EQ(out.size(), 1u);
    expect_point(out[0].vertices[0], 1, -1, -1);
}

// A plane through one end of an edge far shorter than the on-plane tolerance holds both ends on
// it while it crosses the faces beside the edge at a slant (or, tilted, crosses the two long edges
// at its ends at nearly the same point); the halves must still close.
TEST(CutBlock, PlaneThroughAnEndOfAVeryShortEdgeLeavesClosedHalves) {
    point_list polygon;
    for (double angle : {0.0, 1e-11, 2.0, 4.0})
        polygon.push_back(make_vec3(std::cos(angle), std::sin(angle), 0.0));
    const block prism = make_prism_over(polygon, 1.0);
    for (int k = 0; k < 12; ++k) {
        SCOPED_TRACE(k);
        const double turn = 1.2 + 0.06 * k;
        std::vector<fault> faults{make_fault(make_vec3(1, 0, 0.5),
                                             make_vec3(std::cos(turn), std::sin(turn), 0.01 * k),
                                             make_vec3(0, 0, 1), 0.0)};
        point_list tracers;
        const std::vector<block> out = cut_block({prism}, faults, tracers);
        ASSERT_EQ(out.size(), 2u);
        double total = 0.0;
        for (const block& half : out) {
            EXPECT_EQ(polyhedron_problem(half), "");
            total += volume(half);
        }
        EXPECT_NEAR(total, volume(prism), 1e-12 * volume(prism));
    }
}

} // namespace
