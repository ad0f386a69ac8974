#include "geometry/detail/fault_points.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

fault_point_sides make_fault_point_sides(const std::vector<block>& blocks,
                                         std::size_t fault_count) {
    fault_point_sides sides;
    sides.carried.assign(fault_count, 0);
    sides.positive.assign(fault_count, 0);
    constexpr double inf = std::numeric_limits<double>::infinity();
    xyz low{inf, inf, inf};
    xyz high{-inf, -inf, -inf};
    for (const block& b : blocks) {
        for (int f : b.fault_indices)
            sides.carried[f] = 1;
        for (const vec3& v : b.vertices)
            for (int k = 0; k < 3; ++k) {
                low[k] = std::min(low[k], v[k]);
                high[k] = std::max(high[k], v[k]);
            }
    }
    if (low[0] <= high[0])
        sides.model_size = std::hypot(high[0] - low[0], high[1] - low[1], high[2] - low[2]);
    return sides;
}

void sort_fault_points(fault_point_sides& sides, const std::vector<fault>& faults, const vec3& n,
                       const vec3& p, double tolerance) {
    for (std::size_t f = 0; f < faults.size(); ++f) {
        const vec3& x = faults[f].point;
        const double d = n[0] * (x[0] - p[0]) + n[1] * (x[1] - p[1]) + n[2] * (x[2] - p[2]);
        sides.positive[f] = sides.carried[f] && d >= -tolerance;
    }
}

void move_fault_points(const fault_point_sides& sides, std::vector<fault>& faults,
                       const xyz& slip) {
    for (std::size_t f = 0; f < faults.size(); ++f)
        if (sides.positive[f])
            for (int k = 0; k < 3; ++k)
                faults[f].point[k] += slip[k];
}
