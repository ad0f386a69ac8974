// The cut of a block none of whose vertices lies on the plane, as nearly every cut is: both halves
// in one walk over the block's edges and face corners, straight from the vertices' sides, with
// the cut face chained by the faces its sides cross.
#pragma once

#include "geometry/detail/cut_workspace.hpp"

// Builds the halves of b, whose vertex_distance and vertex_side are set and none zero, into
// half_parts(ws, +1) and half_parts(ws, -1), exactly as the cut tables and erase_vertices would.
// Returns false, leaving the halves unset, when the faces' crossings do not chain into one
// polygon of three corners or more: the general cut then decides.
bool cut_in_one_walk(cut_workspace& ws, const work_block& b, const vec3& n, int cut_source);
