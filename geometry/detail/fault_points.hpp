// The fault points of a cutting run. Each fault's pass moves every fault point on the positive
// side of its plane by the slip, whichever block lists the point, instead of moving each point
// with the block that lists it: a point may lie outside its block (the restoration lifts blocks
// and their points above the boundary that the forward run starts again from), and would then be
// moved or left by a block it is not in. For a point inside its block both rules agree; this one
// makes the forward run the exact inverse of the restoration on fault points, since a slip lies
// in its plane and so keeps every point on its side.
#pragma once

#include "geometry/detail/work_block.hpp"
#include "geometry/fault.hpp"

#include <vector>

struct fault_point_sides {
    std::vector<char> carried;  // per fault: listed by a block at the start, so it moves
    std::vector<char> positive; // per fault: on the positive side of the plane sorted by last
    double model_size = 0.0;    // the diagonal of the box around the blocks at the start
};

// The faults the blocks list, and the size of the blocks together.
fault_point_sides make_fault_point_sides(const std::vector<block>& blocks, std::size_t fault_count);

// Sorts every carried fault point by its side of the plane through p with normal n; a point
// closer to it than tolerance (in units of |n|) counts as positive, like a point on the plane.
void sort_fault_points(fault_point_sides& sides, const std::vector<fault>& faults, const vec3& n,
                       const vec3& p, double tolerance);

// Moves the points sorted positive by slip.
void move_fault_points(const fault_point_sides& sides, std::vector<fault>& faults, const xyz& slip);
