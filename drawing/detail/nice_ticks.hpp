// Round numbers for axes and scale bars: steps of 1, 2 or 5 times a power of ten.
#pragma once

#include <vector>

namespace tolvex {

// The round step that puts about target ticks over a range of the given span (span > 0).
double nice_step(double span, int target);

// The multiples of step from lo to hi, both included where they are multiples.
std::vector<double> ticks_between(double lo, double hi, double step);

// The round length, 1, 2 or 5 times a power of ten, at most span and more than span / 2.5.
double nice_length(double span);

} // namespace tolvex
