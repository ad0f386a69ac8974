// --fit-slips: the slips that restore the present-day horizons best replace the loaded ones.
#pragma once

#include "batch/batch_options.hpp"
#include "geometry/block.hpp"
#include "geometry/fault.hpp"
#include "geometry/horizon.hpp"

#include <string>
#include <vector>

namespace tolvex {

// Fits the slips of faults to horizons (read from horizon_path), prints the report on standard
// output and returns the fitted faults. Throws std::runtime_error, with nothing written, when the
// horizons cannot be fitted, the datum file is bad, the system is singular, or the fit did not
// converge (unless --allow-unconverged).
std::vector<fault> batch_fitted_faults(const batch_options& o, const block& boundary,
                                       const std::vector<fault>& faults,
                                       const std::vector<horizon>& horizons,
                                       const std::string& horizon_path);

} // namespace tolvex
