#include "tests/support/layered_model.hpp"

#include "tests/support/box.hpp"
#include "tests/support/grid_horizon.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <string>

layered_model random_layered_model(std::mt19937& rng, const layered_shape& shape) {
    const vec3 centre = make_vec3(5000, 8000, -1000);
    layered_model m;
    m.boundary = make_box(centre - make_vec3(1000, 1000, 500), centre + make_vec3(1000, 1000, 500));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto between = [&](double a, double b) { return a + (b - a) * unit(rng); };
    const double degree = std::numbers::pi / 180.0;
    std::vector<int> order(static_cast<std::size_t>(shape.faults));
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), rng);
    for (int k = 0; k < shape.faults; ++k) {
        const double strike = between(0, 360) * degree, dip = between(35, 75) * degree;
        const vec3 h = make_vec3(std::cos(strike), std::sin(strike), 0.0);
        const vec3 down = make_vec3(std::cos(dip) * h[0], std::cos(dip) * h[1], -std::sin(dip));
        const vec3 along = make_vec3(-h[1], h[0], 0.0);
        const double rake = between(-shape.largest_rake, shape.largest_rake) * degree;
        const vec3 slip = std::cos(rake) * down + std::sin(rake) * along;
        const double up = unit(rng) < 0.5 ? 1.0 : -1.0;
        fault f;
        f.id = k + 1;
        f.name = "f" + std::to_string(k + 1);
        f.normal = up * make_vec3(std::sin(dip) * h[0], std::sin(dip) * h[1], std::cos(dip));
        // Each point away from the other planes, and each plane away from the other points: a point
        // within a slip of another fault's plane takes that plane's side from the slips, and the
        // restoration may then have more than one consistent set of slips.
        const auto clear = [&](const vec3& p) {
            return std::all_of(m.faults.begin(), m.faults.end(), [&](const fault& o) {
                return std::abs(inner_prod(p - o.point, o.normal)) > 100 &&
                       std::abs(inner_prod(o.point - p, f.normal)) > 100;
            });
        };
        for (int attempt = 0; attempt < 1000; ++attempt) {
            f.point =
                centre + make_vec3(between(-800, 800), between(-800, 800), between(-400, 400));
            if (clear(f.point))
                break;
        }
        f.slip_mag = between(20, 80);
        f.slip_dir = (unit(rng) < 0.5 ? 1.0 : -1.0) * slip; // stored: the reverse of the file's
        set_order(f, order[static_cast<std::size_t>(k)]);
        m.faults.push_back(f);
    }
    std::sort(m.faults.begin(), m.faults.end(), sortobj_descending());
    const double slope = std::tan(shape.layer_dip * degree);
    for (int l = 0; l < shape.layers; ++l) {
        const double azimuth = between(0, 360) * degree;
        const double level = centre[2] - 350 + 700.0 * (l + 0.5) / shape.layers;
        m.layers.push_back(
            grid_horizon("layer " + std::to_string(l + 1), centre[0] - 1300, centre[1] - 1300, 2600,
                         shape.cells, [&](double x, double y) {
                             return level + slope * ((x - centre[0]) * std::cos(azimuth) +
                                                     (y - centre[1]) * std::sin(azimuth));
                         }));
    }
    return m;
}
