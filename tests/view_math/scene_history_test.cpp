// The histories the viewer keeps of a run: every step drawn where the run put its blocks and
// tracers, with the untouched and moved blocks sharing their shapes.
#include "geometry/vector_utils.hpp"
#include "model/model_run.hpp"
#include "tests/support/box.hpp"
#include "view_math/face_winding.hpp"
#include "view_math/run_history.hpp"
#include "view_math/scene_history.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

void expect_drawn_as(const vec3& stored, const xyz& offset, const vec3& at) {
    for (int k = 0; k < 3; ++k)
        ASSERT_NEAR(stored[k] + offset[k], at[k], 1e-9 * (1 + std::abs(at[k])));
}

// Step s of the history, as drawn, against the model the run passed. Each tracer is drawn where
// the run had it and coloured by its own starting elevation, also in steps shown after later ones
// have shared out their blocks' tracer slots. windings keeps the history's from call to call, also
// while it grows.
void expect_step_matches(const scene_history& history, std::size_t s, const tolvex::run_step& step,
                         shape_windings& windings) {
    step_frame frame;
    step_parts(history, s, true, frame, &windings);
    const std::vector<scene_part>& parts = frame.parts;
    ASSERT_EQ(parts.size(), step.blocks.size() + 1);
    std::size_t drawn = 0; // tracers of the blocks before
    for (std::size_t i = 0; i < step.blocks.size(); ++i) {
        const block& b = step.blocks[i];
        const scene_part& part = parts[i];
        ASSERT_EQ(part.shape->vertices.size(), b.vertices.size());
        EXPECT_TRUE(std::ranges::equal(part.shape->edges, b.edges));
        ASSERT_EQ(part.shape->face_count(), b.faces.size());
        // A block is drawn where the run put it, bit for bit.
        for (std::size_t v = 0; v < b.vertices.size(); ++v)
            for (int k = 0; k < 3; ++k)
                ASSERT_EQ(part.shape->vertices[v][k] + part.offset[k], b.vertices[v][k]);
        // The winding kept with the shape is the one its block has.
        winding_lists w;
        const face_winding found = outward_winding(*part.shape, w);
        ASSERT_TRUE(part.winding);
        EXPECT_EQ(part.winding->closed, found.closed);
        EXPECT_TRUE(std::ranges::equal(part.winding->reversed, found.reversed));
        const std::span<const int> held = shape_tracer_indices(history, part.number);
        ASSERT_TRUE(std::ranges::is_permutation(held, b.tracer_indices));
        for (std::size_t t = 0; t < held.size(); ++t) {
            const auto index = static_cast<std::size_t>(held[t]);
            expect_drawn_as(frame.tracers[drawn + t], {0, 0, 0}, step.tracers[index]);
            ASSERT_EQ(frame.start_z[drawn + t], history.start_z[index]);
        }
        drawn += held.size();
    }
    EXPECT_EQ(drawn, frame.tracers.size()) << "every tracer lies in a block";
    const fault_surfaces walls = fault_surfaces_of(step.blocks);
    const flat_list<xyz>& drawn_corners = frame.walls.polygons.corners;
    const flat_list<xyz>& corners = walls.polygons.corners;
    ASSERT_EQ(drawn_corners.size(), corners.size());
    for (std::size_t c = 0; c < corners.size(); ++c)
        expect_drawn_as(make_vec3(drawn_corners[c][0], drawn_corners[c][1], drawn_corners[c][2]),
                        {0, 0, 0}, make_vec3(corners[c][0], corners[c][1], corners[c][2]));
}

TEST(SceneHistory, EveryStepIsDrawnWhereTheRunPutItAndCutsAloneMakeShapes) {
    std::mt19937 rng(11);
    std::normal_distribution<double> g;
    std::uniform_real_distribution<double> inside(-80, 80), slip(5, 40);
    for (int trial = 0; trial < 10; ++trial) {
        SCOPED_TRACE(trial);
        std::vector<fault> faults(12);
        for (std::size_t i = 0; i < faults.size(); ++i) {
            fault& f = faults[i];
            f.point = make_vec3(inside(rng), inside(rng), inside(rng));
            f.normal = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
            f.slip_dir = normalize_vector(cross_prod3(f.normal, make_vec3(g(rng), g(rng), 0)));
            f.slip_mag = slip(rng);
            set_order(f, static_cast<int>(faults.size() - i));
        }
        point_list tracers(300);
        for (vec3& t : tracers)
            t = make_vec3(inside(rng), inside(rng), inside(rng));

        // The blocks of every step, shown whole by a run of their own, to check the history
        // against.
        std::vector<std::vector<block>> whole;
        std::vector<point_list> moved;
        tolvex::run_model(make_cube(100), faults, tracers,
                          {.on_step = [&](const tolvex::run_step& step) {
                              whole.push_back(step.blocks);
                              moved.push_back(step.tracers);
                          }});
        auto step_at = [&](std::size_t k) {
            return tolvex::run_step{{}, k, 0, nullptr, whole.at(k), moved.at(k)};
        };
        scene_history restored, forward;
        shape_windings restored_windings, forward_windings;
        const tolvex::step_change_fn collect = tolvex::history_collector(restored, forward);
        std::size_t passed = 0, k = 0;
        const tolvex::model_result result = tolvex::run_model(
            make_cube(100), faults, tracers,
            {.on_change = [&](const tolvex::run_step_change& change) {
                collect(change);
                const bool is_forward = change.run == tolvex::run_kind::forward;
                const scene_history& history = is_forward ? forward : restored;
                expect_step_matches(history, history.steps.size() - 1, step_at(k),
                                    is_forward ? forward_windings : restored_windings);
                passed += whole.at(k++).size();
            }});
        for (std::size_t s = 0; s < whole.size(); ++s) {
            const bool is_restored = s < restored.steps.size();
            expect_step_matches(is_restored ? restored : forward,
                                is_restored ? s : s - restored.steps.size(), step_at(s),
                                is_restored ? restored_windings : forward_windings);
        }
        ASSERT_EQ(forward.steps.size(), faults.size() + 1);
        // Each cut turns one block into two new shapes; nothing else makes one.
        EXPECT_EQ(block_count(restored.kept.shapes), 2 * result.restored.blocks.size() - 1);
        EXPECT_EQ(block_count(forward.kept.shapes), 2 * result.forward.blocks.size() - 1);
        EXPECT_LT(block_count(restored.kept.shapes) + block_count(forward.kept.shapes), passed);
    }
}

} // namespace
