// Builds one half of a block that a plane cuts, from the block, the vertices the half does not
// contain and the plane normal, reading the cut-face corners from the working tables
// (cut_tables.hpp). Returns the half with empty fault and tracer indices.
#pragma once

#include "block.hpp"

#include <vector>

// Membership by vertex index: nonzero for a vertex in the set.
using vertex_mask = std::vector<char>;

// The half keeps the vertices not in erased_vertices (those on the plane included), then adds the
// cut points as new vertices; faces that the plane crosses are clipped and the cut face, with
// normal fn and its corners in angle order, closes the half as its last face.
// Throws std::invalid_argument when a face side is not an edge of b.
block erase_vertices(const block& b, const vertex_mask& erased_vertices, const vec3& fn);
