#include "view_math/view_guides.hpp"

#include "geometry/vector_utils.hpp"
#include "view_math/camera_fit.hpp"

#include <boost/numeric/ublas/vector.hpp>

#include <cmath>

double units_per_pixel(const view_state& view) {
    const double distance = boost::numeric::ublas::norm_2(view.view_point);
    const double half_height = std::tan(field_of_view_degrees / 2.0 * pi / 180.0) * distance;
    return 2.0 * half_height / window_extent(view.hh);
}

double round_length(double longest) {
    const double power = std::pow(10.0, std::floor(std::log10(longest)));
    for (double step : {5.0, 2.0, 1.0})
        if (step * power <= longest)
            return step * power;
    return power;
}

std::array<std::array<double, 2>, 3> triad_arms(const view_state& view) {
    std::array<std::array<double, 2>, 3> arms{};
    for (int axis = 0; axis < 3; ++axis)
        arms[axis] = {view.view_e2[axis], view.view_e3[axis]};
    return arms;
}
