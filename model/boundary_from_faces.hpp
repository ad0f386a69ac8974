// A boundary from its vertices and faces alone, as a caller holding arrays has them.
#pragma once

#include "geometry/block.hpp"

namespace tolvex {

// The block whose faces have the given corners (vertex indices in order around each face), each
// with the unit normal that points out of the boundary; its edges are the faces' sides, each once,
// in the order the faces first go along them. Throws boundary_error with the first problem that
// check_boundary finds, edges and faces named by index.
block boundary_from_faces(point_list vertices, std::vector<index_list> faces);

} // namespace tolvex
