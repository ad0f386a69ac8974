// Axis-aligned boxes for tests and benchmarks, as a block and as boundary file text.
#pragma once

#include "geometry/block.hpp"

#include <string>

// The box from lo to hi: vertices 0-3 at z = lo, counter-clockwise seen from above starting at
// (lo, lo), 4-7 above them; twelve edges and six faces with outward unit normals.
block make_box(const vec3& lo, const vec3& hi);

// The cube with corners (+-half, +-half, +-half), numbered like make_box.
block make_cube(double half = 1.0);

// Boundary file text (VERTEX=, EDGE=, FACE= lines) of make_box(lo, hi).
std::string box_boundary(const vec3& lo, const vec3& hi);
