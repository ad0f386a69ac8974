// The cut of a block none of whose vertices lies on the plane, as nearly every cut is: both halves
// in one walk over the block's edges and face corners, straight from the vertices' sides, with
// the cut face chained by the faces its sides cross, written once where they are to lie.
#pragma once

#include "geometry/detail/block_bounds.hpp"
#include "geometry/detail/cut_workspace.hpp"

#include <array>

// Plans the cut of b, whose vertex_distance and vertex_side are set and none zero: its cut points,
// the cut face's order and walk_counts, the counts of the negative and the positive half. Returns
// false when the faces' crossings do not chain into one polygon of three corners or more: the
// general cut then decides.
bool plan_one_walk(cut_workspace& ws, const work_block& b, const vec3& n);

// Writes the planned halves of b, exactly as the cut tables and erase_vertices would build them,
// into halves[0] (negative) and halves[1] (positive), laid out for walk_counts; neither may share
// storage with b. Returns their boxes, as shape_bounds would give them.
std::array<block_bounds, 2> write_one_walk(cut_workspace& ws, const work_block& b, int cut_source,
                                           work_block* halves);
