// A run's cutoffs and separations as NumPy arrays, one row each.
#pragma once

#include "model/fault_cutoffs.hpp"

#include <pybind11/numpy.h>

namespace tolvex {

// (M, 9): fault identifier, horizon position, wall, then the ends in the boundary's coordinates
// (centre added back).
pybind11::array_t<double> cutoff_array(const std::vector<cutoff_segment>& segments,
                                       const std::vector<fault>& faults, const vec3& centre);

// (S, 6): fault identifier, horizon position, along strike, throw, heave, dip separation.
pybind11::array_t<double> separation_array(const std::vector<separation>& rows,
                                           const std::vector<fault>& faults);

} // namespace tolvex
