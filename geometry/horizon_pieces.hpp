// The pieces of horizons that lie in the blocks of a run: each block, less its displacement, is
// the part of the run's start block it came from, so the pieces in it are the horizons' triangles
// clipped to that part and moved by the displacement. This is what cutting every piece at every
// fault would leave, at a cost that grows with the triangles each final block meets, whatever the
// number of faults.
#pragma once

#include "geometry/block.hpp"
#include "geometry/block_set.hpp"
#include "geometry/horizon.hpp"
#include "geometry/polygon_list.hpp"

#include <array>
#include <cstddef>
#include <vector>

// Convex polygons, each remembering its horizon, the input triangle it was cut from and the block
// it lies in; ordered by block, then horizon, then triangle.
struct horizon_pieces {
    polygon_list polygons; // each piece's corners in the triangle's order
    std::vector<int> horizon;
    std::vector<int> triangle;
    std::vector<int> block;
    // Per corner, when a horizon has properties: its weights of the source triangle's corners.
    std::vector<std::array<double, 3>> weights;
};

// The pieces of the horizons (in the coordinates of the blocks' start) in each block. A piece is
// clipped by every face of its block with the kernel's on-plane tolerance: corners within it of a
// face are kept where they are. A piece lying on a face that two blocks share goes to one of them
// only, so the pieces of a triangle tile the part of it inside the start block; one lying on an
// outer face is kept. The blocks are shared between up to max_threads threads (0: one per core)
// without changing the result.
horizon_pieces pieces_in_blocks(const std::vector<block>& blocks,
                                const std::vector<horizon>& horizons, unsigned max_threads = 0);
horizon_pieces pieces_in_blocks(const block_set& blocks, const std::vector<horizon>& horizons,
                                unsigned max_threads = 0);

// The property values of piece p's horizon at corner c (a place in pieces.polygons.corners),
// interpolated within the triangle the piece was cut from.
std::vector<double> corner_properties(const horizon_pieces& pieces,
                                      const std::vector<horizon>& horizons, std::size_t p,
                                      std::size_t c);
