// How a boundary's vertices, edges and faces fit together, regardless of where the vertices lie.
#pragma once

#include "model/boundary_check.hpp"

namespace tolvex {

// The first topological problem of b (see check_boundary: everything up to V - E + F = 2), or
// nullopt. name names other edges and faces in reasons.
std::optional<boundary_problem> check_boundary_topology(const block& b, const part_namer& name);

} // namespace tolvex
