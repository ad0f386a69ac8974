// Applies faults to a list of convex blocks, fault by fault in list order.
#pragma once

#include "block.hpp"
#include "fault.hpp"

#include <cstddef>
#include <functional>
#include <vector>

// Called after each fault's pass with the position of that fault in the list and the model as it
// then stands.
using cut_observer =
    std::function<void(std::size_t fault_position, const std::vector<block>& blocks,
                       const std::vector<fault>& faults, const point_list& tracers)>;

// Each fault's plane cuts every block it crosses; the half on the side the normal points to moves
// by slip_dir * slip_mag together with the fault points and tracer points it carries (changed in
// place in faults and tracers). Returns the block list after the last fault.
// Throws std::out_of_range when a block refers to a fault or tracer outside the given lists.
// observe, when set, sees the model after every fault.
std::vector<block> cut_block(std::vector<block> blocks, std::vector<fault>& faults,
                             point_list& tracers, const cut_observer& observe = {});
