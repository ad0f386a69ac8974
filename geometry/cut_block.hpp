// Applies faults to a list of convex blocks, fault by fault in list order.
#pragma once

#include "geometry/block.hpp"
#include "geometry/block_set.hpp"
#include "geometry/fault.hpp"

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

// What one fault's pass changed, by positions in the block list after it: the blocks it cut, as
// both halves, and the blocks it only moved, by the fault's slip. Every other block stayed.
struct cut_step {
    std::size_t fault_position = 0;
    std::size_t block_count = 0;
    block_set made; // the halves, in list order, as they stand after the pass
    // The halves' vertices as the kernel holds them, without their displacement: each half's
    // vertices, now and after any later moves, are these plus its displacement then, bit for bit.
    flat_list<xyz> made_held;
    std::vector<std::size_t> made_at; // their positions
    std::vector<std::size_t> moved;   // the positions of the blocks that only moved, ascending
    xyz slip{};
};

// Called after each fault with what its pass changed, and the faults and tracers as they then
// stand.
using cut_step_observer = std::function<void(const cut_step& step, const std::vector<fault>& faults,
                                             const point_list& tracers)>;

// The given blocks are where the run starts: each block's displacement counts the moves from
// there, and each face's source names a face of a given block by its index or the fault that cut
// it (cut_fault).
// Each fault's plane cuts every block it crosses; the half on the side the normal points to moves
// by slip_dir * slip_mag together with the tracer points it carries, and so does every fault
// point on that side of the plane (or on it) that a block lists, wherever it lies (changed in
// place in faults and tracers). Returns the block list after the last fault. Each fault and
// tracer index is expected in one block at most. Each pass is shared between the cores, which
// changes nothing in the result.
// Throws std::out_of_range when a block refers to a fault or tracer outside the given lists, and
// std::invalid_argument when a plane crosses a block with a face side that is not an edge.
std::vector<block> cut_block(std::vector<block> blocks, std::vector<fault>& faults,
                             point_list& tracers, const cut_observer& observe = {},
                             const cut_progress& progress = {});

// The same, returning the blocks as a flat set in the same order, bit for bit. Each pass is shared
// between up to max_threads threads (0: one per core); the result does not depend on how many.
// observe_steps, when given, learns after each fault what its pass changed.
block_set cut_block_set(const std::vector<block>& blocks, std::vector<fault>& faults,
                        point_list& tracers, const cut_progress& progress = {},
                        unsigned max_threads = 0, const cut_step_observer& observe_steps = {});

// Moves the fault points and tracers as cut_block does and returns how many blocks the faults cut
// blocks into, without building them: for a caller that wants only the points.
std::size_t cut_points(const std::vector<block>& blocks, std::vector<fault>& faults,
                       point_list& tracers, const cut_progress& progress = {});
