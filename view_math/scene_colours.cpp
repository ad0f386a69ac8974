#include "view_math/scene_colours.hpp"

#include <algorithm>
#include <cmath>

namespace {

// Hue (0..1) at full saturation, then mixed with white by the given part.
colour3 light_hue(double hue, float white) {
    colour3 c{};
    for (int k = 0; k < 3; ++k) {
        // The distance of hue from the channel's own hue (red 0, green 1/3, blue 2/3) on the
        // circle sets the channel: full within 1/6 of it, none beyond 1/3.
        double d = std::abs(hue - k / 3.0);
        d = std::min(d, 1.0 - d);
        const double full = std::clamp(2.0 - 6.0 * d, 0.0, 1.0);
        c[k] = static_cast<float>(white + (1.0f - white) * full);
    }
    return c;
}

// The hue of number on the colour circle, turning by the golden angle.
double golden_hue(std::size_t number) {
    const double golden = 0.6180339887498949;
    return std::fmod(static_cast<double>(number) * golden, 1.0);
}

} // namespace

colour3 block_colour(std::size_t shape) {
    return light_hue(golden_hue(shape), 0.55f);
}

colour3 horizon_colour(std::size_t horizon) {
    return to_colour3(palette_colour(horizon));
}

colour3 to_colour3(const rgb_colour& c) {
    return {static_cast<float>(c[0]), static_cast<float>(c[1]), static_cast<float>(c[2])};
}

colour3 fault_colour(std::size_t fault) {
    return light_hue(golden_hue(fault), 0.0f);
}

colour3 fault_side_colour(bool moving_side) {
    return moving_side ? colour3{1.0f, 0.72f, 0.45f} : colour3{0.55f, 0.75f, 1.0f};
}

colour3 elevation_colour(double fraction) {
    // Samples of a scale whose lightness rises evenly from one end to the other.
    static constexpr std::array<colour3, 5> scale{{{0.267f, 0.005f, 0.329f},
                                                   {0.230f, 0.322f, 0.546f},
                                                   {0.128f, 0.567f, 0.551f},
                                                   {0.369f, 0.789f, 0.383f},
                                                   {0.993f, 0.906f, 0.144f}}};
    const double at = std::clamp(std::isnan(fraction) ? 0.0 : fraction, 0.0, 1.0) * 4.0;
    const std::size_t i = std::min<std::size_t>(static_cast<std::size_t>(at), 3);
    const auto t = static_cast<float>(at - static_cast<double>(i));
    colour3 c{};
    for (int k = 0; k < 3; ++k)
        c[k] = scale[i][k] + (scale[i + 1][k] - scale[i][k]) * t;
    return c;
}

float text_shade(const std::array<float, 4>& background) {
    return 0.299f * background[0] + 0.587f * background[1] + 0.114f * background[2] > 0.5f ? 0.0f
                                                                                           : 1.0f;
}
