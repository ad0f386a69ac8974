// What of the input lies beyond the boundary: tracers outside it (usually a wrong TRACER_RADIUS,
// or a file not relative to the boundary's centre) and fault planes that miss it.
#pragma once

#include "geometry/block.hpp"
#include "geometry/fault.hpp"

#include <cstddef>
#include <vector>

namespace tolvex {

struct points_outside {
    std::size_t count = 0;
    std::size_t first = 0; // the position of the first one, when count > 0
};

// The points farther than a billionth of the boundary's size outside the convex boundary, whose
// vertices and faces are sound (check_boundary); both in the same coordinates.
points_outside points_outside_boundary(const block& boundary, const point_list& points);

// The positions of the faults whose plane has every boundary vertex on one side, beyond the
// cutting kernel's on-plane tolerance: they cut nothing of the boundary as given.
std::vector<std::size_t> faults_missing_boundary(const block& boundary,
                                                 const std::vector<fault>& faults);

} // namespace tolvex
