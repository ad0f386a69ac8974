// The working tables of block cutting. One workspace serves one cutting run at a time: each cut
// refills the tables for the block being cut, and capacity is kept from cut to cut. Nothing else
// holds cutting state, so runs on different workspaces may go on at the same time.
#pragma once

#include "geometry/block.hpp"
#include "geometry/detail/work_block.hpp"

#include <array>
#include <vector>

// Which side of the plane a vertex lies on: +1, -1, or 0 within the tolerance of the plane.
using side_list = std::vector<signed char>;

// The edge value of the corner entry for vertex v lying on the plane, and back.
constexpr int on_plane_edge(int v) {
    return -1 - v;
}
constexpr int on_plane_vertex(int edge_value) {
    return -1 - edge_value;
}

// Bits of face_sides: the face has a vertex strictly on the positive, on the negative side.
constexpr unsigned char has_positive = 1;
constexpr unsigned char has_negative = 2;

struct cut_workspace {
    // Per vertex of the block being cut: signed distance from the plane (not divided by |n|),
    // its side, and for a vertex on the plane its position in intersection_pset (else -1).
    std::vector<double> vertex_distance;
    side_list vertex_side;
    std::vector<int> vertex_corner;

    // Per face: has_positive and has_negative bits.
    std::vector<unsigned char> face_sides;

    // The cut-face corners: first one cut point per edge that the plane crosses strictly, in edge
    // order, then one entry per vertex lying on the plane, in ascending vertex order. An on-plane
    // entry holds the vertex's position and edge = on_plane_edge(v), which is negative.
    std::vector<intersection_point> intersection_pset;
    // Edge index -> position of its cut point in intersection_pset, or -1 for an edge not crossed.
    std::vector<int> cut_edge_to_intersection_point;

    // The cut polygon, counter-clockwise about the plane normal, starting where sorting its
    // corners by angle about their centroid would start; both halves close over it. Its sorted
    // position -> position of the same corner in intersection_pset.
    std::vector<int> unsort;
    // Position in intersection_pset -> sorted position on the cut polygon, or -1 off it.
    std::vector<int> polygon_position;
    // Per polygon side (from sorted position k to k + 1): the edge of the block it runs along, or
    // -1 for a new edge across a face.
    std::vector<int> polygon_side_edge;
    // Per edge joining two vertices on the plane: how many faces kept by the negative ([0]) and
    // by the positive half ([1]) have it as a side.
    std::vector<std::array<int, 2>> on_plane_side_count;

    // The cut points of a cut in one walk (cut_walk.hpp), in edge order, and the counts of its
    // negative and positive half.
    std::vector<xyz> cut_points;
    std::array<block_counts, 2> walk_counts;
    // Per vertex: the half of a cut in one walk it goes to, 1 for the positive one, else 0.
    std::vector<unsigned char> vertex_half;
    // A copy of the block being cut, for when a half is written in its place.
    flat_list<xyz> block_copy;

    // Scratch of the polygon walk and of building a half.
    std::vector<int> polygon_next;
    std::vector<int> polygon_next_edge;
    std::vector<int> other_polygon_next;
    std::vector<int> other_polygon_next_edge;
    std::vector<int> polygon_corners;
    std::vector<int> vertex_map;
    std::vector<int> corner_map;
    std::vector<int> edge_map;
    std::vector<int> polygon_edge;
    // The positive half, or a block being read in; the negative half.
    work_block_parts parts;
    work_block_parts negative_parts;
};

// Where the half on side `half` of the block being cut is built; both halves are built before
// either is stored, so that the larger can take the cut block's place.
inline work_block_parts& half_parts(cut_workspace& ws, int half) {
    return half > 0 ? ws.parts : ws.negative_parts;
}
