// The blocks of one cutting run in working form. Each block keeps its slot while it lives; a cut
// puts the positive half in the cut block's slot and the negative half in a new slot linked in
// after it, so the list order of the halves is the order of the cuts without moving any block.
// A block's move is held as a pending shift: its vertices and tracers stay where they were first
// stored and are shifted only when the blocks are handed out (a plane is moved back by the shift
// to classify them). So a fault passing over a block it does not cut costs constant time, and a
// tracer's place is its first place plus one sum of the slips, as its block's vertices are. Fault
// points are not held here: each pass moves them by their side of its plane (cut_block). A block
// only lists the faults whose points it holds. Shapes live in arenas, one per thread that cuts; a
// cut block's shape stays there, dead, until the dead pass a quarter of the living and the living
// slide down over them.
#pragma once

#include "geometry/block_set.hpp"
#include "geometry/detail/block_bounds.hpp"
#include "geometry/detail/shape_arena.hpp"
#include "geometry/detail/work_block.hpp"
#include "geometry/fault.hpp"

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
    std::vector<shape_arena> arenas{1};
    std::size_t dead_bytes = 0; // in the arenas, of shapes no slot refers to
    std::vector<work_block> shapes;
    box_lists boxes;        // of the vertices where they stand, with the shift
    std::vector<xyz> shift; // the move not yet applied to the vertices
    std::vector<index_range> fault_range;
    std::vector<index_range> tracer_range;
    std::vector<int> next;   // the slot after each in list order, -1 after the last; slot 0 first
    std::vector<int> origin; // per slot: the given block whose faces its own come from
    // The faults and tracers of all blocks, each block's in one range.
    index_list fault_order;
    std::vector<carried_tracer> tracers;
    // The normals of the faces by their source: the given blocks' faces, block after block, then
    // one per fault, which the faces its cuts make take.
    flat_list<xyz> normals;
    std::vector<std::size_t> given_normals; // per given block: where its faces' normals begin
    std::size_t cut_normals = 0;            // where the faults' begin
    // No coordinate of a vertex, where it stands, exceeds this in magnitude; passes made so far.
    double coordinate_reach = 0.0;
    int passes = 0;
};

// Where the normal of a face of slot s with the given source is in normals.
inline std::size_t normal_position(const block_store& store, int s, int source) {
    return face_source_is_cut(source)
               ? store.cut_normals + static_cast<std::size_t>(cut_fault(source))
               : store.given_normals[store.origin[s]] + static_cast<std::size_t>(source);
}

// A block for a new slot after slot `after` (-1 for the first), with its shift and ranges; its
// tracers have no move pending.
struct new_slot {
    int after;
    work_block shape;
    block_bounds box;
    xyz shift;
    index_range faults;
    index_range tracers;
    int origin;
};

// The box around a shape's vertices; one without vertices gets a box that tells nothing, so every
// plane looks at it and finds it on neither side.
block_bounds shape_bounds(const work_block& shape);

// The blocks in working form, in one slot each in list order, listing their faults and carrying
// the tracers at the given positions, with the normals of their faces and of the faults' cuts.
block_store make_store(const std::vector<block>& blocks, const point_list& tracers,
                       const std::vector<fault>& faults, work_block_parts& parts);

// Puts the block in a new slot and returns it.
int add_slot(block_store& store, const new_slot& block);

// Adds slip to the pending shift of slot s and moves its box. About half the blocks move at every
// pass, so this is inline.
inline void move_slot(block_store& store, int s, const xyz& slip) {
    xyz& shift = store.shift[s];
    for (int k = 0; k < 3; ++k)
        shift[k] += slip[k];
    move_box(store.boxes, s, slip);
}

// Dead room below this is let be, however little is living: a slide copies every living shape,
// which costs more than a few MiB of room are worth.
constexpr std::size_t dead_bytes_let_be = std::size_t{16} << 20;

// Slides the living shapes down over the dead, in place, when the dead pass a quarter of them and
// let_be; the chunks left empty are freed and the rest go to the first arena.
void compact_shapes(block_store& store, std::size_t let_be = dead_bytes_let_be);

// Splits range in order into the entries for which goes_positive holds and the others, each
// keeping its order, and returns the two ranges; negatives is scratch. Every entry is written to
// both sides and only the count of its side advances: which side an entry falls on is a coin toss
// to the processor, and a branch on it costs more than the second write.
template <class Entry, class Predicate>
std::array<index_range, 2> share_indices(std::vector<Entry>& order, index_range range,
                                         std::vector<Entry>& negatives, Predicate&& goes_positive) {
    const auto [begin, end] = range;
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
    return {index_range{begin, kept}, index_range{kept, end}};
}

// Orders the tracers of slot s in place into those whose stored place goes_positive holds for and
// the others, returning the two ranges; places is scratch. Each tracer is looked at once and only
// those out of place are swapped, so the order within either range is not kept: a block's tracers
// are a set. Which side a tracer falls on is a coin toss to the processor, so nothing branches on
// it.
template <class Predicate>
std::array<index_range, 2> share_tracers(block_store& store, int s, Predicate&& goes_positive,
                                         std::vector<int>& places) {
    const auto [begin, end] = store.tracer_range[s];
    const auto n = static_cast<std::size_t>(end - begin);
    carried_tracer* const tracers = store.tracers.data() + begin;
    if (places.size() < 2 * n)
        places.resize(2 * n);
    // The places of the negatives and of the positives, each rising; each tracer's place is written
    // to both lists and only its side's count advances.
    int* const negative = places.data();
    int* const positive = negative + n;
    std::size_t negatives = 0;
    std::size_t positives = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const bool goes = goes_positive(tracers[i].point);
        negative[negatives] = static_cast<int>(i);
        positive[positives] = static_cast<int>(i);
        negatives += !goes;
        positives += goes;
    }
    // The j-th negative from the front and the j-th positive from the back trade places while the
    // negative stands before the positive.
    const std::size_t pairs = std::min(negatives, positives);
    for (std::size_t j = 0; j < pairs && negative[j] < positive[positives - 1 - j]; ++j)
        std::swap(tracers[negative[j]], tracers[positive[positives - 1 - j]]);
    const int kept = begin + static_cast<int>(positives);
    return {index_range{begin, kept}, index_range{kept, end}};
}

// The blocks in list order with their pending shifts applied, also to the tracers (written into
// the caller's list); each face's source as the cuts left it.
block_set stored_set(const block_store& store, point_list& tracers);

// The stored blocks of the given slots, in that order, with their pending shifts applied.
block_set stored_set(const block_store& store, std::span<const int> slots);

// The same, and the records of the blocks, freeing the shapes as they are written: only the
// tracers are left in the store (take_set frees the rest of it, and writes the set in the order
// the shapes lie in before putting it in list order, so that the set never stands beside the
// whole store). poll, when set, is called after every few thousand blocks, so
// that a caller can stop a long build by throwing.
block_set take_set(block_store& store, point_list& tracers);
std::vector<block> take_blocks(block_store& store, point_list& tracers,
                               const std::function<void()>& poll = {});

// Only the tracers of every block, with the pending shifts applied.
void output_tracers(const block_store& store, point_list& tracers);

// The number of blocks.
int count_blocks(const block_store& store);
