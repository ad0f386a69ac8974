// An axis-aligned box around a block's vertices, so that a plane that misses the block is told
// apart in constant time, before any vertex is looked at.
#pragma once

#include "geometry/detail/work_block.hpp"

#include <array>
#include <vector>

struct block_bounds {
    xyz centre{};
    xyz half_size{};
};

// The least and greatest coordinates of points taken in one by one, for a box built while the
// points are written. Minima and maxima do not round, so the box is the same in any order.
struct box_extent {
    xyz lo;
    xyz hi;

    explicit box_extent(const xyz& first) : lo(first), hi(first) {}
    void add(const xyz& x) {
        for (int k = 0; k < 3; ++k) {
            lo[k] = x[k] < lo[k] ? x[k] : lo[k];
            hi[k] = hi[k] < x[k] ? x[k] : hi[k];
        }
    }
    void add(const box_extent& other) {
        add(other.lo);
        add(other.hi);
    }
    block_bounds bounds() const {
        block_bounds b;
        for (int k = 0; k < 3; ++k) {
            b.centre[k] = 0.5 * (lo[k] + hi[k]);
            b.half_size[k] = 0.5 * (hi[k] - lo[k]);
        }
        return b;
    }
};

// The box around the first count points (count > 0).
block_bounds bounds_of(const xyz* points, int count);

// The box of vertices bounded by bounds, moved by shift.
block_bounds pending_box_of(const block_bounds& bounds, const xyz& shift);

// The boxes of a store's blocks where they stand, their pending shifts applied, coordinate by
// coordinate: all that testing a plane against the blocks reads, laid out so that testing a run
// of them is a loop of vector instructions that never looks at a shape.
struct box_lists {
    std::array<std::vector<double>, 3> centre;
    std::array<std::vector<double>, 3> half_size;
};

void add_box(box_lists& boxes, const block_bounds& box);
void set_box(box_lists& boxes, int s, const block_bounds& box);

// Box s. Read for every block the box test cannot place, so this is inline.
inline block_bounds box_of(const box_lists& boxes, int s) {
    block_bounds box;
    for (int k = 0; k < 3; ++k) {
        box.centre[k] = boxes.centre[k][s];
        box.half_size[k] = boxes.half_size[k][s];
    }
    return box;
}

// Moves box s by slip. About half the blocks move at every pass, so this is inline.
inline void move_box(box_lists& boxes, int s, const xyz& slip) {
    for (int k = 0; k < 3; ++k)
        boxes.centre[k][s] += slip[k];
}

// A plane, with what every box test of it shares.
struct bounds_plane {
    xyz n;
    // |n| per coordinate, widened by the margin per unit of a box's half sizes
    xyz weight;
    double n_p = 0.0;      // n . p for a point p of the plane
    double rounding = 0.0; // for a box within the reach given to make_bounds_plane
};

// The plane with normal n through point p, for boxes no coordinate of whose centre exceeds reach
// in magnitude and which have been moved at most `moves` times since they were made.
bounds_plane make_bounds_plane(const xyz& n, const xyz& p, double reach, int moves);

// Per box of [begin, end), into sides from sides[0]: +1 when every vertex in it lies on the
// positive side of the plane beyond the on-plane tolerance, -1 when every one lies on the negative
// side beyond it, 0 when the box alone cannot tell. The margin covers the tolerance relative to the
// block's size and the rounding of the distances (see make_bounds_plane).
void sides_of_boxes(const box_lists& boxes, int begin, int end, const bounds_plane& plane,
                    double* sides);
