// The colours horizons are drawn in: one palette for the viewer, the pictures and the sections,
// so that a horizon looks the same in all of them.
#pragma once

#include "geometry/horizon.hpp"

#include <array>
#include <cstddef>
#include <vector>

using rgb_colour = std::array<double, 3>; // red, green and blue from 0 to 1

// The colour of the horizon at position in its file: strong colours that stand apart from one
// another, from light block fills, from the tracers' green and on white; past the chosen ones,
// darkened hues a golden angle apart, so that every horizon has its own.
rgb_colour palette_colour(std::size_t position);

// Each horizon's own colour where its file gave one, else the palette's for its position.
std::vector<rgb_colour> horizon_colours(const std::vector<horizon>& horizons);
