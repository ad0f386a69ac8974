// The blocks of one cutting run in working form. Each block keeps its slot while it lives; a cut
// puts the positive half in the cut block's slot and the negative half in a new slot linked in
// after it, so the list order of the halves is the order of the cuts without moving any block.
// A block's move is held as a pending shift: its vertices stay where they were first stored and
// are shifted only when the blocks are handed out (a plane is moved back by the shift to classify
// them); its fault points and tracers take the shift when it is cut or a fault it carries is
// applied, and at the end. So a fault passing over a block it does not cut costs constant time.
// Points that moved together keep equal sums of the same shifts, so a tracer placed on a fault
// point stays on it exactly.
#pragma once

#include "block_bounds.hpp"
#include "fault.hpp"
#include "work_block.hpp"

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

// A run of positions in fault_order or tracers: [begin, end).
using index_range = std::array<int, 2>;

// A tracer with its position, held in the order of the blocks that carry them, so that sharing
// and moving a block's tracers reads one stretch of memory.
struct carried_tracer {
    int index;
    xyz point;
};

struct block_store {
    std::vector<work_block> shapes;
    std::vector<block_bounds> bounds; // of the vertices as stored, without the shift
    std::vector<xyz> shift;           // the move not yet applied to the vertices
    std::vector<xyz> point_shift;     // the move not yet applied to fault points and tracers
    std::vector<index_range> fault_range;
    std::vector<index_range> tracer_range;
    std::vector<int> next; // the slot after each in list order, -1 after the last; slot 0 first
    // The faults and tracers of all blocks, each block's in one range.
    index_list fault_order;
    std::vector<carried_tracer> tracers;
    std::vector<int> fault_slot; // per fault: the slot carrying it, or -1
    // Scratch of share_indices.
    index_list negative_faults;
    std::vector<carried_tracer> negative_tracers;
};

// The blocks in working form, in one slot each in list order, carrying fault_count faults and
// the tracers at the given positions.
block_store make_store(const std::vector<block>& blocks, std::size_t fault_count,
                       const point_list& tracers, work_block_parts& parts);

// Puts shape in a new slot after s in list order and returns it; its shift is zero and its
// ranges are empty until share_indices fills them.
int add_slot_after(block_store& store, int s, work_block shape);

// Adds slip to the pending shifts of slot s.
void move_slot(block_store& store, int s, const xyz& slip);

// Applies the pending shift of slot s to its fault points and tracers.
void settle_points(block_store& store, int s, std::vector<fault>& faults);

// Splits the range of slot s in order between s (the entries for which goes_positive holds) and
// t (the others), each keeping its order; negatives is scratch. Fault slots are left to the
// caller. Every entry is written to both sides and only the count of its side advances: which
// side a tracer falls on is a coin toss to the processor, and a branch on it costs more than the
// second write.
template <class Entry, class Predicate>
void share_indices(std::vector<Entry>& order, std::vector<index_range>& ranges, int s, int t,
                   std::vector<Entry>& negatives, Predicate&& goes_positive) {
    const auto [begin, end] = ranges[s];
    if (negatives.size() < static_cast<std::size_t>(end - begin))
        negatives.resize(end - begin);
    Entry* const out = order.data();
    Entry* const aside = negatives.data();
    int kept = begin;
    int set_aside = 0;
    for (int i = begin; i < end; ++i) {
        // kept <= i, so order[kept] has been read already.
        const Entry entry = out[i];
        const bool positive = goes_positive(entry);
        out[kept] = entry;
        aside[set_aside] = entry;
        kept += positive;
        set_aside += !positive;
    }
    std::copy(aside, aside + set_aside, out + kept);
    ranges[s] = {begin, kept};
    ranges[t] = {kept, end};
}

// The blocks in list order with their pending shifts applied, also to faults and tracers (the
// caller's copies of the run's lists; the tracers' positions are written there).
std::vector<block> stored_blocks(const block_store& store, std::vector<fault>& faults,
                                 point_list& tracers);

// The same, releasing each block's working form as it goes. poll, when set, is called after
// every few thousand blocks, so that a caller can stop a long build by throwing.
std::vector<block> take_blocks(block_store& store, std::vector<fault>& faults, point_list& tracers,
                               const std::function<void()>& poll = {});

// Only the fault points and tracers of every block, with the pending shifts applied.
void output_points(const block_store& store, std::vector<fault>& faults, point_list& tracers);

// The number of blocks.
int count_blocks(const block_store& store);
