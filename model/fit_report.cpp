#include "io/number_text.hpp"
#include "model/fault_label.hpp"
#include "model/fit_slips.hpp"

#include <cmath>

namespace tolvex {

namespace {

// A value in its column, or "-" where there is none.
std::string column(double x, int width) {
    if (std::isnan(x))
        return std::string(static_cast<std::size_t>(width - 1), ' ') + "-";
    return fixed_text(x, 3, width);
}

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

} // namespace

std::string fit_report_text(const fit_result& fit, const std::vector<horizon>& horizons) {
    std::string out = "Slips fitted to the horizons (lengths in model units; across is along "
                      "the normal times the slip direction)\n";
    out += padded("fault", 44) + "     along     error  state            across     error  "
                                 "state\n";
    for (std::size_t f = 0; f < fit.faults.size(); ++f) {
        const fault_fit& row = fit.fault_table[f];
        out += padded(fault_label(fit.faults[f]), 44) + column(row.along, 10) +
               column(row.along_error, 10) + "  " + padded(fit_state_word(row.along_state), 13) +
               column(row.across, 10) + column(row.across_error, 10) + "  " +
               fit_state_word(row.across_state) + "\n";
    }
    out += "\n" + padded("horizon", 24) +
           "  vertices  rms before  largest before   rms after  largest after\n";
    for (std::size_t h = 0; h < fit.horizon_table.size(); ++h) {
        const horizon_fit& row = fit.horizon_table[h];
        out += padded(h < horizons.size() ? "\"" + horizons[h].name + "\"" : "", 24) +
               integer_text(static_cast<long long>(row.vertices), 10) + column(row.rms_before, 12) +
               column(row.largest_before, 16) + column(row.rms_after, 12) +
               column(row.largest_after, 15) + "\n";
    }
    return out + "\n" + fit_summary_text(fit);
}

std::string fit_summary_text(const fit_result& fit) {
    std::string out = std::to_string(fit.iterations) + " iterations, " +
                      std::to_string(fit.restorations) + " restorations; " +
                      (fit.converged ? "converged: " : "not converged: ") + fit.stop_reason + "\n";
    for (const std::string& note : fit.notes)
        out += "note: " + note + "\n";
    return out;
}

std::string singular_fault_labels(const fit_result& fit) {
    std::string labels;
    for (std::size_t f = 0; f < fit.faults.size(); ++f)
        if (fit.fault_table[f].along_state == fit_state::singular ||
            fit.fault_table[f].across_state == fit_state::singular)
            labels += (labels.empty() ? "" : ", ") + fault_label(fit.faults[f]);
    return labels;
}

} // namespace tolvex
