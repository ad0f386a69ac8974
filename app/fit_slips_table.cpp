#include "app/fit_slips_table.hpp"

#include "io/number_text.hpp"
#include "model/fault_label.hpp"

#include <cmath>

namespace tolvex {

namespace {

// A length in model units, or "-" where there is none.
std::string length_cell(double x) {
    return std::isnan(x) ? "-" : fixed_text(x, 3);
}

} // namespace

fit_slips_table fit_slips_table_of(const fit_result& fit, const std::vector<horizon>& horizons) {
    fit_slips_table table;
    table.faults.push_back({"fault", "fitted slip", "standard error", "state"});
    for (std::size_t f = 0; f < fit.faults.size(); ++f) {
        const fault_fit& row = fit.fault_table[f];
        table.faults.push_back({fault_label(fit.faults[f]), length_cell(row.along),
                                length_cell(row.along_error), fit_state_word(row.along_state)});
    }
    table.horizons.push_back(
        {"horizon", "vertices", "RMS before", "largest before", "RMS after", "largest after"});
    for (std::size_t h = 0; h < fit.horizon_table.size() && h < horizons.size(); ++h) {
        const horizon_fit& row = fit.horizon_table[h];
        table.horizons.push_back({horizons[h].name,
                                  integer_text(static_cast<long long>(row.vertices)),
                                  length_cell(row.rms_before), length_cell(row.largest_before),
                                  length_cell(row.rms_after), length_cell(row.largest_after)});
    }
    table.summary = fit_summary_text(fit);
    return table;
}

} // namespace tolvex
