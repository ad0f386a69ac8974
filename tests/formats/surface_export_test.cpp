// A run's horizons and fault walls written in the boundary file's coordinates, read back through
// the horizon reader.
#include "formats/horizon_file.hpp"
#include "formats/surface_export.hpp"
#include "model/model_run.hpp"
#include "tests/support/box.hpp"
#include "tests/support/grid_horizon.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <set>

using namespace tolvex;

namespace {

fault fault_at(int id, std::string tag, double x, double dip_x, double slip) {
    fault f;
    f.id = id;
    f.tag = std::move(tag);
    set_order(f, id);
    f.point = make_vec3(x, 0, 0);
    f.normal = make_vec3(dip_x, 0, 1);
    f.slip_dir = make_vec3(-1, 0, dip_x) / std::hypot(1.0, dip_x);
    f.slip_mag = slip;
    return f;
}

double area(const horizon& h) {
    double total = 0;
    for (const triangle& t : h.triangles) {
        const vec3 a = h.vertices[t[1]] - h.vertices[t[0]], b = h.vertices[t[2]] - h.vertices[t[0]];
        total += 0.5 * std::hypot(a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                                  a[0] * b[1] - a[1] * b[0]);
    }
    return total;
}

} // namespace

TEST(SurfaceExport, HorizonsAndWallsLieWhereTheBoundaryFileHasThemAndReadBack) {
    // A box far from the origin, two normal faults and a layer wider than the box.
    const vec3 lo = make_vec3(500000, 4200000, -2000), hi = make_vec3(504000, 4204000, 0);
    horizon layer{"Top Chalk", {}, {}};
    for (double x : {499000.0, 505000.0})
        for (double y : {4199000.0, 4205000.0})
            layer.vertices.push_back(make_vec3(x, y, -1000));
    layer.triangles = {{0, 1, 3}, {0, 3, 2}};
    const std::vector<fault> loaded{fault_at(102, "NF-E", 502500, 0.6, 150),
                                    fault_at(101, "NF-W", 501500, -0.6, 150)};
    std::vector<fault> placed = loaded;
    for (fault& f : placed)
        f.point += make_vec3(0, 4202000, -1000);
    const model_result result = run_model(make_box(lo, hi), placed, {}, {.horizons = {layer}});
    ASSERT_TRUE(result.warnings.empty()) << result.warnings[0];

    const surface_set horizons =
        horizon_surfaces(result.forward.horizons, result.horizons, result.centre);
    ASSERT_EQ(horizons.surfaces.size(), 1u);
    EXPECT_NEAR(area(horizons.surfaces[0]), 4000.0 * 4000.0, 1e-3);
    for (const vec3& v : horizons.surfaces[0].vertices) {
        // Blocks move by at most the two faults' slips.
        EXPECT_GT(v[0], lo[0] - 300);
        EXPECT_LT(v[0], hi[0] + 300);
        EXPECT_NEAR(v[2], -1000, 300);
    }
    const std::vector<fault> forward_order{loaded[1], loaded[0]};
    const surface_set walls = fault_wall_surfaces(fault_surfaces_of(result.forward.blocks), loaded,
                                                  run_kind::forward, result.centre);
    ASSERT_EQ(walls.surfaces.size(), 4u);
    EXPECT_EQ(walls.surfaces[0].name, "102 NF-E (+)");
    EXPECT_EQ(walls.surfaces[3].name, "101 NF-W (-)");

    for (const surface_set* set : {&horizons, &walls})
        for (const char* path : {"out.ts", "out.obj"}) {
            const std::vector<horizon> back =
                parse_horizon_text(surfaces_to_text(*set, path, result.centre), path);
            ASSERT_EQ(back.size(), set->surfaces.size()) << path;
            for (std::size_t k = 0; k < back.size(); ++k) {
                EXPECT_EQ(back[k].name, set->surfaces[k].name);
                EXPECT_EQ(back[k].triangles, set->surfaces[k].triangles);
                ASSERT_EQ(back[k].vertices.size(), set->surfaces[k].vertices.size());
                for (std::size_t v = 0; v < back[k].vertices.size(); ++v)
                    for (int c = 0; c < 3; ++c)
                        EXPECT_EQ(back[k].vertices[v][c], set->surfaces[k].vertices[v][c]);
            }
        }
    // VTK gives the horizons, and the walls, back by name.
    for (const surface_set* set : {&horizons, &walls}) {
        const std::vector<horizon> back =
            parse_horizon_text(surfaces_to_text(*set, "out.vtk", result.centre), "out.vtk");
        ASSERT_EQ(back.size(), set->surfaces.size());
        for (std::size_t k = 0; k < back.size(); ++k) {
            EXPECT_EQ(back[k].name, set->surfaces[k].name);
            EXPECT_EQ(back[k].triangles.size(), set->surfaces[k].triangles.size());
        }
    }
}

// Tilted planes of many triangles through a box cut by random faults: each horizon comes out as
// one connected surface per block it crosses, no two of its corners at one place, with the
// pieces' area and every corner where a piece has one.
TEST(SurfaceExport, HorizonPiecesAreWeldedIntoOneSurfacePerBlock) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const vec3 centre_shift = make_vec3(500000, 4200000, 0);
    for (int model = 0; model < 6; ++model) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        std::vector<horizon> horizons;
        for (double z : {-1.0, -2.5, -4.0}) {
            const double tx = 0.1 * (u(rng) - 0.5), ty = 0.1 * (u(rng) - 0.5);
            horizons.push_back(grid_horizon("h", -2, -2, 14, 9, [&](double x, double y) {
                return z + tx * (x - 5) + ty * (y - 5);
            }));
            for (vec3& v : horizons.back().vertices)
                v += centre_shift;
        }
        std::vector<fault> faults(2 + model % 3);
        for (std::size_t k = 0; k < faults.size(); ++k) {
            fault& f = faults[k];
            f.id = static_cast<int>(faults.size() - k);
            set_order(f, f.id);
            f.point = make_vec3(2 + 6 * u(rng), 2 + 6 * u(rng), -5 * u(rng)) + centre_shift;
            f.normal = make_vec3(u(rng) - 0.5, u(rng) - 0.5, 0.3 + u(rng));
            f.slip_dir = make_vec3(u(rng) - 0.5, u(rng) - 0.5, u(rng) - 0.5);
            f.slip_mag = u(rng);
        }
        const model_result result = run_model(
            make_box(make_vec3(0, 0, -5) + centre_shift, make_vec3(10, 10, 0) + centre_shift),
            faults, {}, {.horizons = horizons});
        const horizon_pieces& pieces = result.forward.horizons;
        const surface_set set = horizon_surfaces(pieces, result.horizons, result.centre);
        ASSERT_EQ(set.surfaces.size(), 3u);
        std::size_t first = 0; // the surface's first triangle in the cell data
        for (const horizon& s : set.surfaces) {
            const int which = set.cell_data[0].second[first];
            double loose = 0.0, welded = 0.0;
            std::vector<vec3> corners;
            for (std::size_t p = 0; p < pieces.polygons.size(); ++p)
                if (pieces.horizon[p] == which) {
                    loose += polygon_area(pieces.polygons.polygon(p));
                    for (const xyz& x : pieces.polygons.polygon(p))
                        corners.push_back(make_vec3(x[0], x[1], x[2]) + result.centre);
                }
            for (const vec3& v : s.vertices) {
                double nearest = INFINITY;
                for (const vec3& c : corners)
                    nearest = std::min(nearest, norm_2(v - c));
                EXPECT_LT(nearest, 1e-6);
            }
            for (std::size_t a = 0; a < s.vertices.size(); ++a)
                for (std::size_t b = 0; b < a; ++b)
                    ASSERT_GT(norm_2(s.vertices[a] - s.vertices[b]), 1e-6) << a << " " << b;
            // Corners joined by triangles, and the components each block's triangles fall in.
            std::vector<std::size_t> root(s.vertices.size());
            std::iota(root.begin(), root.end(), 0);
            const auto find = [&](std::size_t v) {
                while (root[v] != v)
                    v = root[v] = root[root[v]];
                return v;
            };
            for (const triangle& t : s.triangles) {
                const vec3 d1 = s.vertices[t[1]] - s.vertices[t[0]];
                const vec3 d2 = s.vertices[t[2]] - s.vertices[t[0]];
                welded += 0.5 * norm_2(make_vec3(d1[1] * d2[2] - d1[2] * d2[1],
                                                 d1[2] * d2[0] - d1[0] * d2[2],
                                                 d1[0] * d2[1] - d1[1] * d2[0]));
                for (int c = 1; c < 3; ++c)
                    root[find(static_cast<std::size_t>(t[c]))] =
                        find(static_cast<std::size_t>(t[0]));
            }
            EXPECT_NEAR(welded, loose, 1e-9 * loose);
            std::map<int, std::set<std::size_t>> components;
            for (std::size_t t = 0; t < s.triangles.size(); ++t)
                components[set.cell_data[1].second[first + t]].insert(
                    find(static_cast<std::size_t>(s.triangles[t][0])));
            for (const auto& [block, roots] : components)
                EXPECT_EQ(roots.size(), 1u) << "horizon " << which << " block " << block;
            first += s.triangles.size();
        }
    }
}

// A property linear in the undeformed position is interpolated exactly wherever a cut falls, so
// carried forward, written, read, restored and written again it equals itself at every vertex.
TEST(SurfaceExport, APvrtxPropertySurvivesAForwardAndRestoreRoundTripAtEveryVertex) {
    const vec3 lo = make_vec3(500000, 4200000, -2000), hi = make_vec3(504000, 4204000, 0);
    const auto linear = [](const vec3& x) {
        return (x[0] - 500000) + 2 * (x[1] - 4200000) + 3 * x[2];
    };
    horizon layer = grid_horizon("Top Chalk", 499000, 4199000, 6000, 7, [](double x, double y) {
        return -1000 + 0.05 * (x - 500000) - 0.02 * (y - 4200000);
    });
    layer.property_names = {"f"};
    for (const vec3& v : layer.vertices)
        layer.property_values.push_back(linear(v));
    std::vector<fault> placed{fault_at(102, "NF-E", 502500, 0.6, 150),
                              fault_at(101, "NF-W", 501500, -0.6, 150)};
    for (fault& f : placed)
        f.point += make_vec3(0, 4202000, -1000);
    const auto run_and_write = [&](const std::vector<horizon>& horizons, bool forward,
                                   const std::string& path) {
        const model_result result = run_model(make_box(lo, hi), placed, {}, {.horizons = horizons});
        const horizon_pieces& pieces = forward ? result.forward.horizons : result.restored.horizons;
        return parse_horizon_text(
            surfaces_to_text(horizon_surfaces(pieces, result.horizons, result.centre), path,
                             result.centre),
            path);
    };
    const std::vector<horizon> start = parse_horizon_text(horizons_to_tsurf({layer}), "in.ts");
    const std::vector<horizon> present = run_and_write(start, true, "present.ts");
    const std::vector<horizon> restored = run_and_write(present, false, "restored.vtk");
    ASSERT_EQ(restored.size(), 1u);
    const horizon& h = restored[0];
    ASSERT_EQ(h.property_names, std::vector<std::string>{"f"});
    ASSERT_EQ(h.property_values.size(), h.vertices.size());
    for (std::size_t v = 0; v < h.vertices.size(); ++v)
        EXPECT_NEAR(h.property_values[v], linear(h.vertices[v]), 1e-6) << "vertex " << v;
}
