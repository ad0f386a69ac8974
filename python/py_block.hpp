// The Block class (a convex block of a result, or the boundary) and the boundary from arrays.
#pragma once

#include <pybind11/pybind11.h>

namespace tolvex {

// Adds Block and boundary_from_arrays to m.
void add_block_type(pybind11::module_& m);

} // namespace tolvex
