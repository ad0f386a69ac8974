// Whole cutting runs: cutting keeps no state outside the call, so two models cut on two threads
// at once come out as when cut one after the other, and so does one model whose passes are shared
// between threads; and an observer sees each fault's result.
#include "geometry/cut_block.hpp"
#include "geometry/vector_utils.hpp"
#include "tests/geometry/polyhedra.hpp"

#include <gtest/gtest.h>
#include <thread>

namespace {

struct run {
    std::vector<block> blocks;
    std::vector<fault> faults;
    point_list tracers;
};

bool same_run(const run& a, const run& b) {
    return identical_blocks(a.blocks, b.blocks) && identical_points(a.tracers, b.tracers) &&
           std::equal(a.faults.begin(), a.faults.end(), b.faults.begin(), b.faults.end(),
                      [](const fault& f, const fault& g) {
                          return identical_points({f.point}, {g.point});
                      });
}

// A block carrying its tracers and the faults that cut it, seeded.
run random_run(unsigned seed, block start, int fault_count = 16) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::normal_distribution<double> g;
    run r;
    const vec3 centre = centroid(start.vertices);
    for (int k = 0; k < 500; ++k) {
        r.tracers.push_back(centre + 0.3 * make_vec3(u(rng), u(rng), u(rng)));
        start.tracer_indices.push_back(k);
    }
    for (int k = 0; k < fault_count; ++k) {
        fault f;
        f.point = centre + make_vec3(u(rng), u(rng), u(rng));
        f.normal = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
        f.slip_dir = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
        f.slip_mag = 0.2 * (u(rng) + 1.0);
        r.faults.push_back(f);
        start.fault_indices.push_back(k);
    }
    r.blocks.push_back(start);
    return r;
}

void cut(run& r, const cut_observer& observe = {}) {
    r.blocks = cut_block(r.blocks, r.faults, r.tracers, observe);
}

TEST(CutBlockConcurrency, TwoModelsOnTwoThreadsMatchTheSameModelsCutInTurn) {
    std::mt19937 shape_rng(7);
    const run first = random_run(1, make_box(make_vec3(-2, -2, -1), make_vec3(2, 2, 1)));
    const run second = random_run(2, make_prism(shape_rng, 2.0));
    run first_alone = first, second_alone = second;
    cut(first_alone);
    cut(second_alone);
    run first_together = first, second_together = second;
    std::thread other([&second_together] { cut(second_together); });
    cut(first_together);
    other.join();
    EXPECT_GT(first_alone.blocks.size(), 100u);
    EXPECT_TRUE(same_run(first_together, first_alone));
    EXPECT_TRUE(same_run(second_together, second_alone));
}

bool same_bits(const xyz& a, const vec3& b) {
    return identical_points({make_vec3(a[0], a[1], a[2])}, {b});
}

// Passes shared between threads leave what one thread leaves, bit for bit, and every face names
// what made it: a face of the start block or the fault that cut it, whose normal it has.
TEST(CutBlockSet, ThreadsLeaveWhatOneThreadLeavesAndFacesNameTheirSource) {
    std::mt19937 shape_rng(5);
    for (unsigned seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(seed);
        const run start =
            random_run(seed,
                       seed == 2 ? make_prism(shape_rng, 2.0)
                                 : make_box(make_vec3(-2, -2, -1), make_vec3(2, 2, 1)),
                       40);
        run alone = start;
        const block_set one = cut_block_set(alone.blocks, alone.faults, alone.tracers, {}, 1);
        alone.blocks = to_blocks(one);
        ASSERT_GT(block_count(one), 2048u);
        for (std::size_t f = 0; f < one.normal_index.size(); ++f) {
            const int source = one.face_sources[f];
            ASSERT_TRUE(same_bits(one.normals[one.normal_index[f]],
                                  face_source_is_cut(source)
                                      ? start.faults[cut_fault(source)].normal
                                      : start.blocks[0].faces[source].normal));
        }
        for (unsigned threads : {2u, 3u, 4u}) {
            run shared = start;
            const block_set many =
                cut_block_set(shared.blocks, shared.faults, shared.tracers, {}, threads);
            shared.blocks = to_blocks(many);
            EXPECT_TRUE(same_run(shared, alone)) << threads << " threads";
            EXPECT_EQ(many.face_sources, one.face_sources) << threads << " threads";
        }
    }
}

// A step's report applied to the blocks before it gives the blocks after it: the halves at their
// places, the blocks it moved shifted by the slip, the rest as they were.
TEST(CutBlockSet, StepsReportWhatEachPassChanged) {
    const run start = random_run(4, make_box(make_vec3(-2, -2, -1), make_vec3(2, 2, 1)), 24);
    std::vector<run> seen;
    run whole = start;
    cut(whole, [&](std::size_t, const std::vector<block>& blocks, const std::vector<fault>& faults,
                   const point_list& tracers) {
        seen.push_back({blocks, faults, tracers});
    });
    std::vector<block> before = start.blocks;
    std::size_t steps = 0;
    run stepped = start;
    const auto check = [&](const cut_step& step, const std::vector<fault>&,
                           const point_list& tracers) {
        const std::vector<block>& after = seen.at(step.fault_position).blocks;
        EXPECT_TRUE(identical_points(tracers, seen[step.fault_position].tracers));
        ASSERT_EQ(step.block_count, after.size());
        const std::vector<block> made = to_blocks(step.made);
        std::size_t m = 0, moved = 0, inserted = 0;
        for (std::size_t j = 0; j < after.size(); ++j) {
            if (m < step.made_at.size() && step.made_at[m] == j) {
                ASSERT_TRUE(identical_blocks({made[m]}, {after[j]})) << j;
                inserted += m++ % 2; // the second half of each cut is new to the list
                continue;
            }
            block expected = before[j - inserted];
            if (moved < step.moved.size() && step.moved[moved] == j) {
                ++moved;
                for (std::size_t v = 0; v < expected.vertices.size(); ++v)
                    for (int k = 0; k < 3; ++k)
                        ASSERT_NEAR(expected.vertices[v][k] + step.slip[k], after[j].vertices[v][k],
                                    1e-12);
                expected.vertices = after[j].vertices;
            }
            ASSERT_TRUE(identical_blocks({expected}, {after[j]})) << j;
        }
        EXPECT_EQ(m, step.made_at.size());
        EXPECT_EQ(moved, step.moved.size());
        before = after;
        ++steps;
    };
    cut_block_set(stepped.blocks, stepped.faults, stepped.tracers, {}, 2, check);
    EXPECT_EQ(steps, start.faults.size());
}

// Without the blocks, the points move bit for bit as with them, and the count is the same.
TEST(CutPoints, MovePointsAsCutBlockAndCountItsBlocks) {
    std::mt19937 shape_rng(11);
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        const run start =
            random_run(seed, seed % 2 ? make_prism(shape_rng, 2.0)
                                      : make_box(make_vec3(-2, -2, -1), make_vec3(2, 2, 1)));
        run with_blocks = start, points_only = start;
        cut(with_blocks);
        EXPECT_EQ(cut_points(points_only.blocks, points_only.faults, points_only.tracers),
                  with_blocks.blocks.size());
        points_only.blocks = with_blocks.blocks;
        EXPECT_TRUE(same_run(points_only, with_blocks));
    }
}

} // namespace

TEST(CutBlockObserver, SeesTheFirstFaultAloneFirstAndTheResultLast) {
    const run start = random_run(3, make_box(make_vec3(-2, -2, -1), make_vec3(2, 2, 1)));
    std::vector<std::size_t> positions;
    run first_seen, last_seen;
    run whole = start;
    cut(whole, [&](std::size_t position, const std::vector<block>& blocks,
                   const std::vector<fault>& faults, const point_list& tracers) {
        positions.push_back(position);
        (positions.size() == 1 ? first_seen : last_seen) = run{blocks, faults, tracers};
    });
    ASSERT_EQ(positions.size(), start.faults.size());
    EXPECT_EQ(positions.back(), start.faults.size() - 1);
    EXPECT_TRUE(same_run(last_seen, whole));

    // The first fault alone: the later faults' points ride along, so leave them out to compare.
    run first_only = start;
    first_only.faults.resize(1);
    first_only.blocks[0].fault_indices = {0};
    cut(first_only);
    first_seen.faults.resize(1);
    for (block& b : first_seen.blocks)
        std::erase_if(b.fault_indices, [](int f) { return f > 0; });
    EXPECT_TRUE(same_run(first_seen, first_only));
}
