// Checks of what the run trusts about each fault without verifying it.
#pragma once

#include "geometry/fault.hpp"

#include <string>
#include <vector>

namespace tolvex {

// One text per doubtful fault: a slip direction that is not of unit length (the displacement is
// slip_dir * slip_mag as given), or one that leaves the fault plane. Empty when all is sound.
std::vector<std::string> fault_warnings(const std::vector<fault>& faults);

} // namespace tolvex
