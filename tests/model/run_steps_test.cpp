// The steps run_model reports: every state of both runs, from the centred input to the result.
#include "formats/boundary_file.hpp"
#include "formats/step_files.hpp"
#include "geometry/outward_faces.hpp"
#include "model/model_run.hpp"
#include "model/step_history.hpp"
#include "tests/support/box.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

using namespace tolvex;

namespace {

fault make_fault(int id, int order, const vec3& normal, const vec3& point, const vec3& slip,
                 double magnitude) {
    fault f;
    f.id = id;
    set_order(f, order);
    f.normal = normal;
    f.point = point;
    f.slip_dir = slip;
    f.slip_mag = magnitude;
    return f;
}

// What the test keeps of one step.
struct seen_step {
    run_kind run;
    std::size_t step, step_count;
    int applied; // identifier of the fault just applied, 0 at step 0
    std::vector<block> blocks;
    point_list tracers;
};

using box = std::array<double, 6>; // x, y and z ranges: lo, hi each

box bounds(const block& b) {
    box r{1e300, -1e300, 1e300, -1e300, 1e300, -1e300};
    for (const vec3& v : b.vertices)
        for (int a = 0; a < 3; ++a) {
            r[2 * a] = std::min(r[2 * a], v[a]);
            r[2 * a + 1] = std::max(r[2 * a + 1], v[a]);
        }
    return r;
}

void expect_boxes(const std::vector<block>& blocks, const std::vector<box>& expected,
                  const std::string& where) {
    ASSERT_EQ(blocks.size(), expected.size()) << where;
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const box got = bounds(blocks[k]);
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(got[i], expected[k][i], 1e-12) << where << " block " << k << " bound " << i;
    }
}

void expect_points(const point_list& got, const point_list& expected, const std::string& where) {
    ASSERT_EQ(got.size(), expected.size()) << where;
    for (std::size_t k = 0; k < got.size(); ++k)
        for (int a = 0; a < 3; ++a)
            EXPECT_NEAR(got[k][a], expected[k][a], 1e-12) << where << " tracer " << k;
}

void expect_same_blocks(const std::vector<block>& got, const std::vector<block>& expected) {
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
        ASSERT_EQ(got[k].vertices.size(), expected[k].vertices.size());
        for (std::size_t i = 0; i < got[k].vertices.size(); ++i)
            for (int a = 0; a < 3; ++a)
                EXPECT_EQ(got[k].vertices[i][a], expected[k].vertices[i][a]);
    }
}

} // namespace

// The cube [0,2]^3 (centred: [-1,1]^3) with fault 1 (sequence 1, plane z = 1, upper side 2 along
// +x in the forward run) and fault 2 (sequence 2, plane x = 1.5, eastern side 0.5 up).
TEST(RunSteps, EveryStepOfBothRunsOfATwoFaultCube) {
    const block cube =
        parse_boundary_text(box_boundary(make_vec3(0, 0, 0), make_vec3(2, 2, 2)), "cube");
    // As loaded: youngest first, with the slip the restoration applies.
    const std::vector<fault> faults = {
        make_fault(2, 2, make_vec3(1, 0, 0), make_vec3(1.5, 1, 1), make_vec3(0, 0, -1), 0.5),
        make_fault(1, 1, make_vec3(0, 0, 1), make_vec3(1, 1, 1), make_vec3(-1, 0, 0), 2.0)};
    const point_list tracers = {make_vec3(0.25, 0.25, 0.25), make_vec3(0.75, -0.5, -0.5),
                                make_vec3(-0.5, 0.5, -0.5)};
    std::vector<seen_step> seen;
    const model_result result =
        run_model(cube, faults, tracers, {.on_step = [&](const run_step& s) {
                      seen.push_back({s.run, s.step, s.step_count, s.applied ? s.applied->id : 0,
                                      s.blocks, s.tracers});
                  }});

    ASSERT_EQ(seen.size(), 6u);
    const run_kind r = run_kind::restoration, f = run_kind::forward;
    const std::array<run_kind, 6> runs = {r, r, r, f, f, f};
    const std::array<int, 6> applied = {0, 2, 1, 0, 1, 2};
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(seen[k].run, runs[k]) << k;
        EXPECT_EQ(seen[k].step, k % 3) << k;
        EXPECT_EQ(seen[k].step_count, 2u) << k;
        EXPECT_EQ(seen[k].applied, applied[k]) << k;
    }
    for (std::size_t k : {0u, 3u}) {
        expect_same_blocks(seen[k].blocks, {result.boundary});
        expect_boxes(seen[k].blocks, {{-1, 1, -1, 1, -1, 1}}, "step 0");
        expect_points(seen[k].tracers, tracers, "step 0");
    }
    expect_boxes(seen[1].blocks, {{0.5, 1, -1, 1, -1.5, 0.5}, {-1, 0.5, -1, 1, -1, 1}},
                 "restoration 1");
    expect_points(seen[1].tracers,
                  {make_vec3(0.25, 0.25, 0.25), make_vec3(0.75, -0.5, -1), tracers[2]},
                  "restoration 1");
    expect_boxes(seen[2].blocks,
                 {{-1.5, -1, -1, 1, 0, 0.5},
                  {0.5, 1, -1, 1, -1.5, 0},
                  {-3, -1.5, -1, 1, 0, 1},
                  {-1, 0.5, -1, 1, -1, 0}},
                 "restoration 2");
    expect_points(seen[2].tracers,
                  {make_vec3(-1.75, 0.25, 0.25), make_vec3(0.75, -0.5, -1), tracers[2]},
                  "restoration 2");
    expect_boxes(seen[4].blocks, {{1, 3, -1, 1, 0, 1}, {-1, 1, -1, 1, -1, 0}}, "forward 1");
    expect_points(seen[4].tracers, {make_vec3(2.25, 0.25, 0.25), tracers[1], tracers[2]},
                  "forward 1");
    expect_boxes(seen[5].blocks,
                 {{1, 3, -1, 1, 0.5, 1.5}, {0.5, 1, -1, 1, -0.5, 0.5}, {-1, 0.5, -1, 1, -1, 0}},
                 "forward 2");
    expect_points(seen[5].tracers,
                  {make_vec3(2.25, 0.25, 0.75), make_vec3(0.75, -0.5, 0), tracers[2]}, "forward 2");

    expect_same_blocks(seen[2].blocks, result.restored.blocks);
    expect_points(seen[2].tracers, result.restored.tracers, "restoration result");
    expect_same_blocks(seen[5].blocks, result.forward.blocks);
    expect_points(seen[5].tracers, result.forward.tracers, "forward result");
}

// A step history kept from the runs' changes gives, at every step, the blocks shown whole bit for
// bit, and the outward faces the step files write of each of its shapes are those of the block.
TEST(RunSteps, AHistoryKeptFromTheChangesHoldsTheStepsShownWhole) {
    const block cube =
        parse_boundary_text(box_boundary(make_vec3(0, 0, 0), make_vec3(4, 4, 2)), "cube");
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<fault> faults;
    for (int k = 0; k < 12; ++k)
        faults.push_back(make_fault(k + 1, 12 - k, make_vec3(u(rng), u(rng), u(rng)),
                                    make_vec3(2 + u(rng), 2 + u(rng), 1 + u(rng) / 2),
                                    make_vec3(u(rng), u(rng), u(rng)), 0.3));
    point_list tracers;
    for (int k = 0; k < 40; ++k)
        tracers.push_back(make_vec3(2 * u(rng), 2 * u(rng), u(rng)));
    std::vector<seen_step> whole;
    run_model(cube, faults, tracers, {.on_step = [&](const run_step& s) {
                  whole.push_back({s.run, s.step, s.step_count, 0, s.blocks, s.tracers});
              }});
    step_history history;
    outward_shapes outward;
    std::size_t k = 0;
    const step_change_fn check = [&](const run_step_change& change) {
        if (change.start) {
            history = {};
            outward = {};
        }
        keep_step(history, change);
        add_outward_shapes(outward, history);
        ASSERT_LT(k, whole.size());
        EXPECT_EQ(change.step, whole[k].step);
        const std::vector<block> blocks = to_blocks(step_set(history, history.steps.size() - 1));
        expect_same_blocks(blocks, whole[k].blocks);
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            for (int a = 0; a < 3; ++a)
                EXPECT_EQ(blocks[b].displacement[a], whole[k].blocks[b].displacement[a]);
            const std::uint32_t shape = history.steps.back().blocks[b].shape;
            const block_view held = shape_of(history, shape);
            const std::vector<face> expected = outward_faces(whole[k].blocks[b]);
            ASSERT_EQ(held.face_count(), expected.size());
            for (std::size_t f = 0; f < expected.size(); ++f) {
                const std::size_t at = history.shapes.face_offset[shape] + f;
                std::vector<int> corners(held.face_corners(f).begin(), held.face_corners(f).end());
                if (outward.turned[at] != 0)
                    std::reverse(corners.begin() + 1, corners.end());
                EXPECT_TRUE(std::ranges::equal(corners, expected[f].indices));
                for (int a = 0; a < 3; ++a)
                    EXPECT_EQ(outward.normals[at][a], expected[f].normal[a]);
            }
        }
        ASSERT_EQ(change.tracers.size(), whole[k].tracers.size());
        for (std::size_t t = 0; t < change.tracers.size(); ++t)
            for (int a = 0; a < 3; ++a)
                EXPECT_EQ(change.tracers[t][a], whole[k].tracers[t][a]);
        ++k;
    };
    run_model(cube, faults, tracers, {.on_change = check});
    EXPECT_EQ(k, whole.size());
}

// A history holds each normal once, by its bits: a normal of -0.0 is not one of 0.0, which the
// files write apart.
TEST(RunSteps, AHistoryHoldsEachNormalOnceByItsBits) {
    block a = make_box(make_vec3(0, 0, 0), make_vec3(1, 1, 1));
    block b = a;
    for (face& f : b.faces)
        for (int k = 0; k < 3; ++k)
            f.normal[k] = f.normal[k] == 0.0 ? -0.0 : f.normal[k];
    step_history history;
    keep_blocks_step(history, {a, a, b}, {});
    keep_blocks_step(history, {b}, {});
    ASSERT_EQ(history.shapes.normals.size(), 2 * a.faces.size());
    const block_set set = step_set(history, 0);
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t f = 0; f < a.faces.size(); ++f)
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(std::signbit(view_of(set, i).normals[f][k]),
                          std::signbit((i < 2 ? a : b).faces[f].normal[k]));
}

TEST(RunSteps, StepFileNumbersHaveThreeDigitsOrAsManyAsTheLastStep) {
    EXPECT_EQ(step_file_name(run_kind::restoration, step_series::blocks, 7, 12),
              "restoration_007.vtp");
    EXPECT_EQ(step_file_name(run_kind::restoration, step_series::blocks, 7, 12, step_format::vtk),
              "restoration_007.vtk");
    EXPECT_EQ(step_file_name(run_kind::forward, step_series::tracers, 999, 999),
              "forward_tracers_999.vtp");
    EXPECT_EQ(step_file_name(run_kind::forward, step_series::blocks, 7, 1000), "forward_0007.vtp");
    EXPECT_EQ(step_file_name(run_kind::forward, step_series::horizons, 7, 12),
              "forward_horizons_007.vtk");
    EXPECT_TRUE(is_step_file_name("forward_0007.vtp"));
    EXPECT_TRUE(is_step_file_name("forward_tracers_0007.vtk"));
    EXPECT_TRUE(is_step_file_name("restoration.vtk.series"));
    EXPECT_TRUE(is_step_file_name("forward_tracers.vtp.series"));
    EXPECT_TRUE(is_step_file_name("restoration_horizons.vtk.series"));
    EXPECT_FALSE(is_step_file_name("forward_07.vtk"));
}

// The forward run undoes the restoration on fault points: whatever side of the blocks a point
// ends up on, it is back where the file maps it (relative to the centre) after both runs. Points
// lie inside and outside the boundary; slips lie in their planes.
TEST(RunSteps, TheForwardRunPutsEveryFaultPointBackWhereTheFileMapsIt) {
    const vec3 lo = make_vec3(3000, -1000, -500), hi = make_vec3(5000, 1000, 500);
    const vec3 centre = (lo + hi) / 2.0;
    const double size = norm_2(hi - lo);
    std::mt19937 rng(17);
    std::normal_distribution<double> g;
    std::uniform_real_distribution<double> u(-1.5, 1.5), magnitude(20, 300);
    for (int model = 0; model < 40; ++model) {
        const int count = 3 + model * 97 / 39;
        std::vector<fault> faults;
        for (int i = 0; i < count; ++i) {
            vec3 n = make_vec3(g(rng), g(rng), g(rng));
            n /= norm_2(n);
            vec3 s = make_vec3(g(rng), g(rng), g(rng));
            s -= inner_prod(s, n) * n;
            const vec3 p = centre + make_vec3(u(rng) * 1000, u(rng) * 1000, u(rng) * 500);
            faults.push_back(make_fault(i, count - i, n, p, s / norm_2(s), magnitude(rng)));
        }
        const model_result r = run_model(make_box(lo, hi), faults, {}, {.keep = {false, false}});
        ASSERT_EQ(r.forward.faults.size(), faults.size());
        for (const fault& f : r.forward.faults) {
            const vec3 mapped = faults[f.id].point - centre;
            EXPECT_LT(norm_2(f.point - mapped), 1e-9 * size)
                << "model " << model << " fault " << f.id;
        }
    }
}

// 16 planes across each axis of the cube cut it into 17^3 blocks, more than the build of a run's
// blocks counts between two calls of the fault hook.
TEST(RunSteps, TheFaultHookCountsBothRunsAndCanStopEvenWhileBlocksAreBuilt) {
    const block cube =
        parse_boundary_text(box_boundary(make_vec3(-1, -1, -1), make_vec3(1, 1, 1)), "cube");
    std::vector<fault> faults;
    for (int axis = 0; axis < 3; ++axis)
        for (int i = 0; i < 16; ++i) {
            vec3 normal = make_vec3(0, 0, 0);
            normal[axis] = 1;
            const int id = static_cast<int>(faults.size()) + 1;
            faults.push_back(make_fault(id, 49 - id, normal, normal * (-0.9 + 0.12 * i),
                                        make_vec3(0, 0, 0), 0.0));
        }
    std::vector<std::size_t> told;
    run_model(cube, faults, {}, {.on_fault = [&](std::size_t done, std::size_t total) {
                  EXPECT_EQ(total, 96u);
                  told.push_back(done);
              }});
    std::vector<std::size_t> once = told;
    once.erase(std::unique(once.begin(), once.end()), once.end());
    std::vector<std::size_t> counts(96);
    std::iota(counts.begin(), counts.end(), 1);
    EXPECT_EQ(once, counts);
    EXPECT_GT(told.size(), 96u) << "no call while the blocks were built";

    struct stop {};
    std::size_t last = 0;
    EXPECT_THROW(run_model(cube, faults, {},
                           {.on_fault =
                                [&](std::size_t done, std::size_t) {
                                    if (done == last)
                                        throw stop{};
                                    last = done;
                                }}),
                 stop);
    EXPECT_EQ(last, 48u) << "stopped while the restored blocks were built";
}
