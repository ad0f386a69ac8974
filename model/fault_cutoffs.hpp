// Where each horizon meets each wall of each fault in a run's final blocks (the cutoff lines),
// and what the fault did to the horizon along its strike: throw, heave and dip separation.
#pragma once

#include "model/model_run.hpp"

#include <cstddef>
#include <optional>
#include <vector>

namespace tolvex {

// One straight piece of a cutoff line, in the run's (centred) coordinates.
struct cutoff_segment {
    std::size_t fault;   // position in the run's fault list
    std::size_t horizon; // position in the run's horizons
    int wall; // +1 the hanging wall (the side the upward normal points to), -1 the footwall
    vec3 from = make_vec3(0.0, 0.0, 0.0);
    vec3 to = make_vec3(0.0, 0.0, 0.0);
};

// The edges of the run's horizon pieces that lie on a fault's cut face of their block. Needs the
// run's blocks; empty when they were not kept.
std::vector<cutoff_segment> cutoff_segments(const run_state& run);

// A fault's plane seen face on: origin at its point, strike = dip direction - 90 (horizontal),
// down_dip in the plane, dip_direction its horizontal part.
struct fault_frame {
    vec3 origin;
    vec3 strike;
    vec3 down_dip;
    vec3 dip_direction;
};
fault_frame frame_of(const fault& f);

// Separations of one horizon across one fault at one place along its strike, the hanging wall's
// cutoff less the footwall's: throw the footwall's cutoff elevation less the hanging wall's
// (positive when the hanging wall is down), heave the horizontal distance along the dip direction,
// dip separation the distance down the dip in the plane.
struct separation {
    std::size_t fault;
    std::size_t horizon;
    double along; // along strike from the fault's point
    double throw_distance;
    double heave;
    double dip_separation;
};

// The separations at stations every spacing along each fault's strike (default: 1/50 of the
// along-strike extent of the fault's walls), at the middle of each interval; where a wall's cutoff
// crosses a station more than once, the crossings' mean. Stations where either wall has no
// cutoff are left out.
std::vector<separation> separations_of(const run_state& run,
                                       const std::vector<cutoff_segment>& segments,
                                       std::optional<double> spacing = std::nullopt);

} // namespace tolvex
