#include "drawing/page_bound.hpp"

#include "io/number_text.hpp"

#include <cmath>

namespace tolvex {

namespace {

std::string too_large_text(double height, double largest) {
    const std::string tall =
        std::isfinite(height) ? shortest_text(std::round(height)) + " points tall, " : "";
    return "the drawing would be " + tall + "taller than the largest page (" +
           shortest_text(largest_page_side) + " points); " +
           (largest > 0.0
                ? "the largest vertical exaggeration that fits is " + shortest_text(largest)
                : std::string("no vertical exaggeration makes it fit"));
}

// x rounded down to three significant digits, so that the value shown still fits.
double round_down(double x) {
    // Scaled by a power of ten that is a whole number, so that 38.3 is not 38.300000000000004.
    const double digits = 2 - std::floor(std::log10(x));
    return digits > 0 ? std::floor(x * std::pow(10.0, digits)) / std::pow(10.0, digits)
                      : std::floor(x / std::pow(10.0, -digits)) * std::pow(10.0, -digits);
}

} // namespace

page_too_large::page_too_large(double height_, double largest)
    : std::invalid_argument(too_large_text(height_, largest)), height(height_),
      largest_exaggeration(largest) {}

void check_page_size(double width, double exaggeration,
                     const std::function<double(double)>& height_at) {
    if (!(width <= largest_page_side))
        throw std::invalid_argument("the page would be wider than the largest page");
    const double height = height_at(exaggeration);
    if (height <= largest_page_side)
        return;
    // The height grows with the exaggeration: halve the span that holds the largest that fits,
    // in logarithms, as exaggerations range over hundreds of powers of ten.
    double fits = 1e-300, not_fits = exaggeration;
    if (!(height_at(fits) <= largest_page_side))
        throw page_too_large(height, 0.0);
    for (int k = 0; k < 100; ++k) {
        const double middle = std::sqrt(fits) * std::sqrt(not_fits);
        (height_at(middle) <= largest_page_side ? fits : not_fits) = middle;
    }
    throw page_too_large(height, round_down(fits));
}

} // namespace tolvex
