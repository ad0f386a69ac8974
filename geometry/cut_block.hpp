// Applies faults to a list of convex blocks, fault by fault in list order.
#pragma once

#include "block.hpp"
#include "fault.hpp"

#include <cstddef>
#include <functional>
#include <vector>

// Called after each fault with its position in the fault list and the blocks, faults and tracers
// as they then stand.
using cut_observer =
    std::function<void(std::size_t fault_position, const std::vector<block>& blocks,
                       const std::vector<fault>& faults, const point_list& tracers)>;

// Called after each fault with its position and the number of blocks then, and again with the
// last fault's values every few thousand blocks while cut_block builds its result: a caller
// can stop a long run between any two of these calls by throwing. Costs nothing more.
using cut_progress = std::function<void(std::size_t fault_position, std::size_t block_count)>;

// Each fault's plane cuts every block it crosses; the half on the side the normal points to moves
// by slip_dir * slip_mag together with the fault points and tracer points it carries (changed in
// place in faults and tracers). Returns the block list after the last fault. Each fault and
// tracer index is expected in one block at most.
// Throws std::out_of_range when a block refers to a fault or tracer outside the given lists, and
// std::invalid_argument when a plane crosses a block with a face side that is not an edge.
std::vector<block> cut_block(std::vector<block> blocks, std::vector<fault>& faults,
                             point_list& tracers, const cut_observer& observe = {},
                             const cut_progress& progress = {});

// Moves the fault points and tracers as cut_block does and returns how many blocks the faults cut
// blocks into, without building them: for a caller that wants only the points.
std::size_t cut_points(const std::vector<block>& blocks, std::vector<fault>& faults,
                       point_list& tracers, const cut_progress& progress = {});
