// A slip fit as the "&Fit Slips…" dialog shows it: a table of the faults, a table of the
// horizons and the lines that say how the fit ended.
#pragma once

#include "geometry/horizon.hpp"
#include "model/fit_slips.hpp"

#include <string>
#include <vector>

namespace tolvex {

struct fit_slips_table {
    // The header, then per fault: its label, fitted slip, standard error and whether the
    // horizons constrain it.
    std::vector<std::vector<std::string>> faults;
    // The header, then per horizon: its name, vertices used, RMS and largest misfit before and
    // after.
    std::vector<std::vector<std::string>> horizons;
    std::string summary; // the iterations, why the fit stopped, and its notes
};

// The tables of fit, a fit of the slip lengths along the faults' slip directions to horizons.
fit_slips_table fit_slips_table_of(const fit_result& fit, const std::vector<horizon>& horizons);

} // namespace tolvex
