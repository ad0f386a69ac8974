// A fault's plane seen face on (an Allan diagram): its walls, and both walls' cutoffs of every
// horizon, laid out as a section so that the section drawing draws it.
#pragma once

#include "model/fault_cutoffs.hpp"
#include "model/section.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tolvex {

// The fault at position k of the run's faults seen from its hanging wall's side: u along strike
// and z up the dip, both from the fault's point, in model units. Blocks are the fault's wall
// faces; horizon traces the cutoffs (the footwall's dashed), which the horizon's position in
// names; the line the strike line's ends in the boundary file's coordinates (centre added back).
section fault_diagram(const run_state& run, std::size_t k,
                      const std::vector<cutoff_segment>& segments,
                      const std::vector<std::string>& horizon_names, const vec3& centre,
                      const std::string& title);

// The position in faults of the fault with identifier id, if any.
std::optional<std::size_t> fault_with_id(const std::vector<fault>& faults, int id);

} // namespace tolvex
