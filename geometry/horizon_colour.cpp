#include "geometry/horizon_colour.hpp"

#include <cmath>

rgb_colour palette_colour(std::size_t position) {
    // Orange, blue, vermilion, reddish purple, yellow, sky blue, brown, violet.
    static constexpr std::array<rgb_colour, 8> chosen{{{0.90, 0.62, 0.00},
                                                       {0.00, 0.45, 0.70},
                                                       {0.84, 0.37, 0.00},
                                                       {0.80, 0.47, 0.65},
                                                       {0.94, 0.89, 0.26},
                                                       {0.34, 0.71, 0.91},
                                                       {0.60, 0.40, 0.20},
                                                       {0.45, 0.35, 0.70}}};
    if (position < chosen.size())
        return chosen[position];
    const double hue = std::fmod(static_cast<double>(position) * 0.381966, 1.0) * 6.0;
    const double x = 1.0 - std::abs(std::fmod(hue, 2.0) - 1.0);
    const rgb_colour pure = hue < 1   ? rgb_colour{1, x, 0}
                            : hue < 2 ? rgb_colour{x, 1, 0}
                            : hue < 3 ? rgb_colour{0, 1, x}
                            : hue < 4 ? rgb_colour{0, x, 1}
                            : hue < 5 ? rgb_colour{x, 0, 1}
                                      : rgb_colour{1, 0, x};
    return {0.62 * pure[0], 0.62 * pure[1], 0.62 * pure[2]};
}

std::vector<rgb_colour> horizon_colours(const std::vector<horizon>& horizons) {
    std::vector<rgb_colour> colours;
    for (std::size_t h = 0; h < horizons.size(); ++h)
        colours.push_back(horizons[h].metadata.colour.value_or(palette_colour(h)));
    return colours;
}
