// The colours the viewer gives faces and tracers in its colour modes. No GL needed.
#pragma once

#include "geometry/horizon_colour.hpp"

#include <array>
#include <cstddef>

using colour3 = std::array<float, 3>;

// A light colour for the block drawn from shape number shape. The hue turns by the golden angle
// from one number to the next, so the two halves of a cut (consecutive numbers) and the blocks
// cut near in time always differ clearly; lightness stays high so the black edges still read.
colour3 block_colour(std::size_t shape);

// The colour of the horizon at position horizon in its file, palette_colour's in single
// precision.
colour3 horizon_colour(std::size_t horizon);

// c in single precision.
colour3 to_colour3(const rgb_colour& c);

// The colour of the faces the cut of fault number fault made: a full hue per fault, turning by
// the golden angle, so faults near in the list differ.
colour3 fault_colour(std::size_t fault);

// Faces on the side a fault's normal points to (the side that moves) and on the other.
colour3 fault_side_colour(bool moving_side);

// A point of a perceptual scale (even steps of lightness, dark blue through green to yellow) at
// fraction of the way from its low end; fractions outside 0..1 are clamped.
colour3 elevation_colour(double fraction);

// Black text on a light background, white on a dark.
float text_shade(const std::array<float, 4>& background);
