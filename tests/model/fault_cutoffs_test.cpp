// Cutoff lines and separations of flat horizons across one fault, against the slip's projections.
#include "formats/fault_table.hpp"
#include "model/fault_cutoffs.hpp"
#include "model/fault_orientation.hpp"
#include "tests/support/box.hpp"
#include "tests/support/grid_horizon.hpp"

#include <boost/numeric/ublas/vector.hpp>
#include <cmath>
#include <gtest/gtest.h>

using namespace tolvex;
namespace ublas = boost::numeric::ublas;

TEST(FaultCutoffs, FlatLayersGiveTheSlipsProjectionsAllAlongStrikeAndLieOnHorizonAndWall) {
    const block box = make_box(make_vec3(-10, -10, -5), make_vec3(10, 10, 5));
    const std::vector<horizon> layers = {
        grid_horizon("low", -12, -12, 24, 6, [](double, double) { return -2.0; }),
        grid_horizon("high", -12, -12, 24, 6, [](double, double) { return 2.5; })};
    const double degree = std::acos(-1.0) / 180.0;
    for (const double dip : {30.0, 60.0, 89.0})
        for (const double rake : {-90.0, -45.0, 90.0, -150.0}) {
            fault_terms t;
            t.dip_direction = 75;
            t.dip = dip;
            t.rake = rake;
            t.slip = 1.5;
            const fault f = fault_from_terms(t);
            const model_result r = run_model(box, {f}, {}, {.horizons = layers});
            // The down-dip part of the slip makes the separations; the strike part moves the
            // cutoffs along themselves.
            const double down = -t.slip * std::sin(rake * degree);
            for (const run_state* run : {&r.forward, &r.restored}) {
                const double sense = run == &r.forward ? 1.0 : -1.0;
                const std::vector<cutoff_segment> lines = cutoff_segments(*run);
                ASSERT_FALSE(lines.empty());
                for (const cutoff_segment& s : lines)
                    for (const vec3& p : {s.from, s.to}) {
                        const double z = layers[s.horizon].vertices[0][2] -
                                         (s.wall > 0 ? sense * down * std::sin(dip * degree) : 0);
                        EXPECT_NEAR(p[2], z, 1e-9);
                        EXPECT_NEAR(ublas::inner_prod(p - f.point, f.normal), 0.0, 1e-9);
                    }
                const std::vector<separation> along = separations_of(*run, lines);
                // Both horizons, about 50 stations each, less where a wall's cutoff stops short.
                EXPECT_GT(along.size(), 60u) << dip << " " << rake;
                for (const separation& s : along) {
                    EXPECT_NEAR(s.throw_distance, sense * down * std::sin(dip * degree), 1e-9);
                    EXPECT_NEAR(s.heave, sense * down * std::cos(dip * degree), 1e-9);
                    EXPECT_NEAR(s.dip_separation, sense * down, 1e-9);
                }
            }
        }
}
