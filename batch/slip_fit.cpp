#include "batch/slip_fit.hpp"

#include "batch/stop_signals.hpp"
#include "formats/datum_file.hpp"
#include "model/fit_slips.hpp"

#include <iostream>
#include <stdexcept>

namespace tolvex {

namespace {

fit_options options_of(const batch_options& o, const std::vector<horizon>& horizons) {
    fit_options options;
    options.fit_rake = o.fit_rake;
    if (o.datum == "horizontal")
        options.datum = datum_kind::horizontal;
    else if (!o.datum.empty() && o.datum != "regional") {
        options.datum = datum_kind::given;
        options.elevations = datum_elevations(read_datum_file(o.datum), horizons, o.datum);
    }
    return options;
}

} // namespace

std::vector<fault> batch_fitted_faults(const batch_options& o, const block& boundary,
                                       const std::vector<fault>& faults,
                                       const std::vector<horizon>& horizons,
                                       const std::string& horizon_path) {
    if (horizon_path.empty())
        throw usage_error(
            "--fit-slips needs --horizons FILE, --present-horizons FILE, or HORIZON_FILE= or "
            "PRESENT_HORIZON_FILE= in the --config file");
    const fit_options options = options_of(o, horizons);
    fit_result fit;
    try {
        fit = fit_slips(boundary, faults, horizons, options,
                        [](std::size_t, std::size_t) { stop_if_signalled(); });
    } catch (const fit_error& e) {
        throw std::runtime_error(horizon_path + ": " + e.what());
    }
    std::cout << fit_report_text(fit, horizons) << std::flush;
    const std::string singular = singular_fault_labels(fit);
    if (!singular.empty())
        throw std::runtime_error("--fit-slips: the horizons cannot tell apart the slips of " +
                                 singular + "; nothing was written");
    if (!fit.converged) {
        if (!o.allow_unconverged)
            throw std::runtime_error("--fit-slips: " + fit.stop_reason +
                                     "; nothing was written (--allow-unconverged writes it)");
        std::cerr << "tolvex-batch: warning: --fit-slips: " << fit.stop_reason << "\n";
    }
    return fit.faults;
}

} // namespace tolvex
