// A model seen from above, in the boundary file's coordinates (x east, y north): the boundary's
// outline, where the faults' planes meet its top and the horizons' outlines. The desktop draws a
// section's line on it.
#pragma once

#include "model/model_run.hpp"
#include "model/section.hpp"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace tolvex {

using map_segment = std::array<map_point, 2>;

// A straight piece of a fault's trace across one upward face of the boundary (its top), in the
// boundary file's coordinates: z is the top's elevation at each end.
struct map_trace {
    std::size_t fault; // place in the fault list as loaded
    vec3 from = make_vec3(0.0, 0.0, 0.0);
    vec3 to = make_vec3(0.0, 0.0, 0.0);
};

struct section_map {
    std::vector<map_point> outline; // the boundary's vertices' convex hull, counter-clockwise
    std::vector<map_trace> fault_traces;
    std::vector<std::string> fault_labels; // per loaded fault
    // Per horizon as the run started from it: the sides of its triangles that belong to one
    // triangle only, so holes and bays show as they are.
    std::vector<std::vector<map_segment>> horizon_outlines;
    std::vector<std::string> horizon_names;
};

// The map of run, which run_model made from loaded (as it gave them). A face of the boundary is
// on its top when its normal points up; a fault crossing no such face leaves no trace.
section_map section_map_of(const model_result& run, const std::vector<fault>& loaded);

} // namespace tolvex
