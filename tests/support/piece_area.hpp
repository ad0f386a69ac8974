// The area of a horizon piece, for checks that the pieces of a surface tile it.
#pragma once

#include "geometry/horizon_pieces.hpp"

#include <cstddef>

double piece_area(const horizon_pieces& pieces, std::size_t p);
