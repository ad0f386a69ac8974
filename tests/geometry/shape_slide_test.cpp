// Sliding the living shapes over the dead room of the cut blocks: every block stays what it was.
#include "geometry/block_set.hpp"
#include "geometry/detail/block_store.hpp"
#include "geometry/detail/cut_pass.hpp"
#include "geometry/vector_utils.hpp"
#include "tests/geometry/polyhedra.hpp"

#include <gtest/gtest.h>
#include <random>

TEST(ShapeSlides, KeepEveryBlockAndLeaveNoRoomDead) {
    std::mt19937 rng(11);
    const std::vector<block> blocks{make_hull(rng)};
    const vec3 centre = centroid(blocks[0].vertices);
    std::uniform_real_distribution<double> u(-0.5, 0.5);
    std::normal_distribution<double> g;
    std::vector<fault> faults(60);
    for (fault& f : faults) {
        f.point = centre + make_vec3(u(rng), u(rng), u(rng));
        f.normal = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
        f.slip_dir = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
        f.slip_mag = 0.2;
    }
    const point_list no_tracers;
    std::vector<cut_worker> workers(1);
    block_store store = make_store(blocks, no_tracers, faults, workers[0].ws.parts);
    const fault_point_sides sides = make_fault_point_sides(blocks, faults.size());
    int slides = 0;
    for (std::size_t k = 0; k < faults.size(); ++k) {
        cut_pass(store, workers, plane_of(faults[k], static_cast<int>(k)), sides);
        point_list tracers;
        const std::vector<block> before = to_blocks(stored_set(store, tracers));
        const std::size_t dead = store.dead_bytes;
        compact_shapes(store, 0);
        if (dead == 0 || store.dead_bytes > 0)
            continue;
        ++slides;
        std::size_t living = 0;
        for (const work_block& w : store.shapes)
            living += allocated_size(shape_bytes(w));
        EXPECT_EQ(store.arenas[0].handed_out, living) << "after fault " << k;
        EXPECT_TRUE(identical_blocks(before, to_blocks(stored_set(store, tracers))))
            << "after fault " << k;
    }
    EXPECT_GT(slides, 0);
}
