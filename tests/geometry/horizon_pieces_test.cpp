// Horizon pieces after random runs: the pieces of each input triangle tile the part of it inside
// the start block, every piece lies in its block, and fault walls face each other in pairs.
#include "geometry/cut_block.hpp"
#include "geometry/fault_surfaces.hpp"
#include "geometry/horizon_pieces.hpp"
#include "geometry/vector_utils.hpp"
#include "tests/geometry/polyhedra.hpp"
#include "tests/support/grid_horizon.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

namespace {

// A surface over [-3, 3]^2 (beyond any start block here) on a grid of n x n cells; kind 0 level,
// 1 steep, 2 folded.
horizon random_surface(std::mt19937& rng, int kind, int n) {
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    const double a = 0.5 * u(rng), b = kind == 1 ? 3.0 * u(rng) : kind == 2 ? 0.2 * u(rng) : 0.0;
    const double c = kind == 0 ? 0.0 : 0.2 * u(rng);
    const double fold = kind == 2 ? 0.6 : 0.0;
    return grid_horizon("h" + std::to_string(kind), -3, -3, 6, n, [&](double x, double y) {
        return a + b * x + c * y + fold * std::sin(2.0 * x);
    });
}

std::vector<fault> random_faults(std::mt19937& rng, int count, std::size_t& index_count) {
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::normal_distribution<double> g;
    std::vector<fault> faults;
    for (int k = 0; k < count; ++k) {
        fault f;
        f.point = make_vec3(u(rng), u(rng), 0.5 * u(rng));
        f.normal = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
        f.slip_dir = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
        f.slip_mag = 0.2 * (u(rng) + 1.0);
        faults.push_back(f);
    }
    index_count = faults.size();
    return faults;
}

// The summed area of the pieces of each (horizon, triangle).
std::map<std::pair<int, int>, double> areas_by_triangle(const horizon_pieces& pieces) {
    std::map<std::pair<int, int>, double> areas;
    for (std::size_t p = 0; p < pieces.polygons.size(); ++p)
        areas[{pieces.horizon[p], pieces.triangle[p]}] += polygon_area(pieces.polygons.polygon(p));
    return areas;
}

} // namespace

TEST(HorizonPieces, TileTheirTrianglesStayInTheirBlocksAndWallsPair) {
    std::mt19937 rng(11);
    for (int model = 0; model < 12; ++model) {
        SCOPED_TRACE(model);
        block start = model % 3 == 0   ? make_box(make_vec3(-2, -2, -1), make_vec3(2, 2, 1))
                      : model % 3 == 1 ? make_hull(rng)
                                       : make_prism(rng, 2.0);
        start.displacement = make_vec3(0, 0, 0);
        const std::vector<horizon> horizons{random_surface(rng, 0, 12), random_surface(rng, 1, 9),
                                            random_surface(rng, 2, 15)};
        std::size_t fault_count = 0;
        std::vector<fault> faults = random_faults(rng, 1 + model * 8, fault_count);
        // A level fault along the level horizon: its pieces lie on the cut face of two blocks.
        faults[0].point = horizons[0].vertices[0];
        faults[0].normal = make_vec3(0, 0, model % 2 ? 1 : -1);
        start.fault_indices.resize(fault_count);
        for (std::size_t k = 0; k < fault_count; ++k)
            start.fault_indices[k] = static_cast<int>(k);
        point_list tracers;
        const std::vector<block> before{start};
        const auto clipped = areas_by_triangle(pieces_in_blocks(before, horizons));
        const std::vector<block> blocks = cut_block(before, faults, tracers);
        const horizon_pieces pieces = pieces_in_blocks(blocks, horizons, model % 2 + 1);
        EXPECT_EQ(pieces.block, pieces_in_blocks(blocks, horizons, 3).block);

        double total = 0.0;
        for (const auto& [key, area] : clipped)
            total += area;
        ASSERT_GT(total, 0.05);
        const auto after = areas_by_triangle(pieces);
        ASSERT_EQ(after.size(), clipped.size());
        for (const auto& [key, area] : clipped)
            ASSERT_NEAR(after.at(key), area, 1e-9 * total) << key.first << " " << key.second;

        for (std::size_t p = 0; p < pieces.polygons.size(); ++p) {
            const block& b = blocks[pieces.block[p]];
            for (const xyz& x : pieces.polygons.polygon(p)) {
                const std::string problem = containment_problem(b, make_vec3(x[0], x[1], x[2]));
                ASSERT_EQ(problem, "") << "piece " << p;
            }
        }

        // Every wall of a fault has a wall of the other side, as large, facing it.
        const fault_surfaces walls = fault_surfaces_of(blocks);
        std::map<int, double> side_area;
        for (std::size_t w = 0; w < walls.polygons.size(); ++w) {
            side_area[walls.fault[w]] += walls.side[w] * polygon_area(walls.polygons.polygon(w));
        }
        for (const auto& [k, difference] : side_area)
            EXPECT_NEAR(difference, 0.0, 1e-9 * total) << "fault " << k;
    }
}
