// A block's faces as a program outside sees them, whatever corner order and normal they hold.
#pragma once

#include "geometry/block.hpp"

#include <vector>

namespace tolvex {

// The faces of b in order, each with its corners counter-clockwise seen from outside the block and
// its normal pointing out of it at unit length. Which side is outside comes from the block's own
// vertices; the given normal only keeps its direction where it points out.
std::vector<face> outward_faces(const block& b);

} // namespace tolvex
