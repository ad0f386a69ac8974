// Present-day horizons made by a forward run: the given layers deformed by the faults, as a
// geologist would have interpreted them.
#pragma once

#include "geometry/block.hpp"
#include "geometry/fault.hpp"
#include "geometry/horizon.hpp"

#include <vector>

// The forward run's pieces of layers, each piece fanned into triangles, in the boundary's
// coordinates; faults as loaded (youngest first, slip as stored).
std::vector<horizon> present_horizons(const block& boundary, const std::vector<fault>& faults,
                                      const std::vector<horizon>& layers);
