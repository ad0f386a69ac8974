// The working tables of one block cut: the cut-face corners of the block being cut, their angle
// order and the crossed edge -> corner map. fill_cut_tables fills them from the block, its vertex
// distances and the plane normal; erase_vertices reads them. One instance each for the program,
// so block cutting is not reentrant.
#pragma once

#include "block.hpp"

#include <vector>

// The cut-face corners: first one cut point per edge that the plane crosses strictly, in edge
// order, then one entry per vertex lying on the plane, in ascending vertex order. An on-plane
// entry holds the vertex's position and edge = on_plane_edge(v), which is negative.
extern std::vector<intersection_point> intersection_pset;

// A copy of intersection_pset sorted by angle, smallest first.
extern std::vector<intersection_point> intersection_pset_sorted;

// Position in intersection_pset_sorted -> position of the same corner in intersection_pset.
extern std::vector<int> unsort;

// Edge index -> position of its cut point in intersection_pset, or -1 for an edge not crossed.
extern std::vector<int> cut_edge_to_intersection_point;

// The edge value of the corner entry for vertex v lying on the plane, and back.
constexpr int on_plane_edge(int v) {
    return -1 - v;
}
constexpr int on_plane_vertex(int edge_value) {
    return -1 - edge_value;
}

// Index of the edge of the block being cut that joins vertices x and y, or -1. Valid once
// fill_cut_tables has returned true for that block.
int edge_between(int x, int y);

// Which side of the plane each vertex lies on: +1, -1, or 0 within the tolerance of the plane.
using side_list = std::vector<signed char>;

// Fills the four tables for block b. distance holds each vertex's signed distance from the plane
// and side its classification; n is the plane normal. Returns whether the plane meets the block
// in a polygon (three corners or more); only then are the angle order and unsort filled.
bool fill_cut_tables(const block& b, const std::vector<double>& distance, const side_list& side,
                     const vec3& n);
