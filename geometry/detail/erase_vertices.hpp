// Builds one half of a block that a plane cuts from the block and the working tables
// (cut_tables.hpp), filled by fill_cut_tables and order_cut_polygon.
#pragma once

#include "geometry/detail/cut_workspace.hpp"

// The half on side `half` (+1 or -1) erases the vertices strictly on the other side. It keeps the
// faces with a vertex strictly on its own side, clipped where the plane crosses them, the vertices
// and edges of those faces, and the cut points as new vertices; the cut face, with its corners in
// polygon order and face source cut_source (whose normal is the cutting fault's), closes it as its
// last face. The half is left in half_parts(ws, half).
void erase_vertices(cut_workspace& ws, const work_block& b, int half, int cut_source);
