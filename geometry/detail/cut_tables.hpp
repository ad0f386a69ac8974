// The cut-face corners of a block and the polygon they form, derived from the block's faces and
// one classification of its vertices, so that every face side of each half has exactly one
// partner whatever the rounding of the vertex positions.
#pragma once

#include "geometry/detail/cut_workspace.hpp"

// Fills vertex_corner, face_sides, intersection_pset and cut_edge_to_intersection_point for b,
// whose vertex_distance and vertex_side are set. Returns whether there are three corners or more.
bool fill_cut_tables(cut_workspace& ws, const work_block& b);

// Fills the polygon tables and on_plane_side_count. Each half keeps the faces with a vertex
// strictly on its side, clipped; its cut face closes every side of those faces that no other kept
// face shares. Returns false unless those sides form, for both halves alike, one simple polygon
// of three corners or more through every cut point.
bool order_cut_polygon(cut_workspace& ws, const work_block& b, const vec3& n);

// Where the halves' polygons disagree, vertices within the tolerance of the plane stand for an
// edge or face that the plane meets at a slant within that tolerance. Gives those vertices (pairs
// of them on a face side the plane crosses, the corners of faces lying on the plane; failing
// those, all vertices) the side their distance gives, unrounded. Returns whether a side changed.
bool take_sides_of_doubtful_vertices(cut_workspace& ws, const work_block& b);
