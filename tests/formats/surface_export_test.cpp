// A run's horizons and fault walls written in the boundary file's coordinates, read back through
// the horizon reader.
#include "formats/horizon_file.hpp"
#include "formats/surface_export.hpp"
#include "model/model_run.hpp"
#include "tests/support/box.hpp"

#include <gtest/gtest.h>

#include <cmath>

using namespace tolvex;

namespace {

fault fault_at(int id, std::string tag, double x, double dip_x, double slip) {
    fault f;
    f.id = id;
    f.tag = std::move(tag);
    f.key = f.order = id;
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
    const model_result result =
        run_model(make_box(lo, hi), placed, {}, {}, {}, {}, std::vector<horizon>{layer});
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
    const std::vector<horizon> back =
        parse_horizon_text(surfaces_to_text(horizons, "out.vtk", result.centre), "out.vtk");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, "Top Chalk");
    EXPECT_EQ(back[0].triangles.size(), horizons.surfaces[0].triangles.size());
}
