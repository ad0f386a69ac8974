// A block's faces as a program outside sees them, whatever corner order and normal they hold.
#pragma once

#include "geometry/block.hpp"
#include "geometry/block_set.hpp"

#include <cstddef>
#include <vector>

namespace tolvex {

// The faces of b in order, each with its corners counter-clockwise seen from outside the block and
// its normal pointing out of it at unit length. Which side is outside comes from the block's own
// vertices; the given normal only keeps its direction where it points out.
std::vector<face> outward_faces(const block& b);

// Whether the corners of f (a face of b) run clockwise seen from outside b, so that outward_faces
// gives them reversed after the first: corner 0, then n-1 down to 1.
bool turns_inward(const block& b, const face& f);
// The same for face f of a block in a set.
bool turns_inward(const block_view& b, std::size_t f);

} // namespace tolvex
