// The guides drawn over a view: the scale bar's round length and where the axis triad's
// arms point on the screen. No GL needed.
#pragma once

#include "view_math/view_state.hpp"

#include <array>

// Model units that one pixel spans at the origin's depth in view.
double units_per_pixel(const view_state& view);

// The longest of 1, 2 or 5 times a power of ten not above longest (> 0).
double round_length(double longest);

// The screen directions (right, up; unit length or shorter as the arm turns toward or away
// from the eye) of the model's east (+x), north (+y) and up (+z) in view.
std::array<std::array<double, 2>, 3> triad_arms(const view_state& view);
