// A boundary given as arrays: vertices and the corner lists of its faces. The edges and the
// outward normals are derived, and the shape is checked before any run relies on it.
#pragma once

#include "block.hpp"

#include <vector>

namespace tolvex {

// One block with vertices as given, every face side once as an edge (in order of first use) and
// unit outward normals; fault and tracer indices empty. Throws std::invalid_argument naming the
// face or vertex (0-based) when the faces do not close a convex polyhedron: a face with fewer
// than three corners or a corner outside vertices, a side not shared by exactly two faces, a
// face without area or not plane, a vertex on the outer side of a face or on no face at all.
block boundary_from_arrays(point_list vertices, std::vector<index_list> faces);

} // namespace tolvex
