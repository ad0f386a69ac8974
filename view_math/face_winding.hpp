// How an opaque block's faces are drawn: wound outward where they close around the block, so the
// faces turned away from the eye can be culled. A shape of a history is wound when a frame first
// shows it, and the frames after read the result: from one step to the next most blocks keep
// their shapes.
#pragma once

#include "geometry/block_set.hpp"

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

// Whether the faces close around their block, and per face whether its corners are drawn
// reversed after the first (corner 0, then n-1 down to 1) to run counter-clockwise seen from
// outside. Faces that do not close are drawn as given.
struct face_winding {
    bool closed = false;
    std::span<const std::uint8_t> reversed;
};

// Lists kept from block to block while their windings are found.
struct winding_lists {
    std::vector<std::uint8_t> reversed;
    std::vector<std::pair<int, int>> sides;
    std::vector<int> from;
    std::vector<int> ends;
};

// The winding of b's faces, its reversed flags in w (valid until w is used again).
face_winding outward_winding(const block_view& b, winding_lists& w);

// The windings of one history's shapes, each found when a frame first asks for it.
struct shape_windings {
    std::vector<std::uint8_t> found;    // per shape: 0 not yet, 1 open, 2 closed
    std::vector<std::uint8_t> reversed; // per face of the shapes
    winding_lists lists;
};

// The winding of shape s of shapes (the history's, the same for every call on windings), found
// now unless found before; valid until windings is next asked about a history with more shapes.
face_winding winding_of(shape_windings& windings, const block_set& shapes, std::size_t s);
