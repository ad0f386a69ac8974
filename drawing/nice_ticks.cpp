#include "drawing/detail/nice_ticks.hpp"

#include <cmath>

namespace tolvex {

namespace {

// The largest of 1, 2 and 5 times a power of ten that is at most x (x > 0).
double round_down(double x) {
    const double power = std::pow(10.0, std::floor(std::log10(x)));
    const double mantissa = x / power;
    return (mantissa >= 5.0 ? 5.0 : mantissa >= 2.0 ? 2.0 : 1.0) * power;
}

} // namespace

double nice_step(double span, int target) {
    return round_down(span / target);
}

std::vector<double> ticks_between(double lo, double hi, double step) {
    std::vector<double> out;
    // Multiples by index, so that no rounding piles up along the axis; 0 is written as 0.
    for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + 1e-9 * step; k += 1.0)
        out.push_back(k * step + 0.0);
    return out;
}

double nice_length(double span) {
    return round_down(span);
}

} // namespace tolvex
