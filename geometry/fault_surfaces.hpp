// The surfaces the faults made: every face a fault's cut made, as its block now stands. A fault's
// two walls are told apart, so that the offset along it shows.
#pragma once

#include "geometry/block.hpp"
#include "geometry/block_set.hpp"
#include "geometry/polygon_list.hpp"

#include <span>
#include <vector>

// Polygons, counter-clockwise seen from outside their block, in block order.
struct fault_surfaces {
    polygon_list polygons;
    std::vector<int> fault; // the position in the run's fault list of the fault that made it
    // +1 for the wall on the side the fault's normal points to, the one its slip moved; -1 for the
    // other wall.
    std::vector<int> side;
    std::vector<int> block;
};

fault_surfaces fault_surfaces_of(const block_set& blocks);
fault_surfaces fault_surfaces_of(std::span<const block> blocks);

// Appends the walls of b to out, as block block_number.
void add_fault_surfaces(const block& b, int block_number, fault_surfaces& out);
void add_fault_surfaces(const block_view& b, int block_number, fault_surfaces& out);
