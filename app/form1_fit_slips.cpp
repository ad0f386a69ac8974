// "&Fit Slips…": the loaded faults' slips fitted to the horizon file of the settings, shown for
// the user to take or leave.
#include "app/form1.hpp"
#include "config/conf_run_files.hpp"
#include "io/input_error.hpp"
#include "model/fit_slips.hpp"

#include <QListWidget>

namespace tolvex {

void Form1::mi_fit_slips_Click() {
    const auto refuse = [this](const std::string& text) {
        ui.message_box(text, "ERROR", message_icon::error);
    };
    if (doc.faults_loaded.empty()) {
        refuse("No faults to fit: open a fault file first.");
        return;
    }
    const tolvex_conf& conf = doc.settings;
    const run_files files = configured_run_files(conf, conf.folder);
    const std::string& path =
        files.horizon_path.empty() ? files.present_horizon_path : files.horizon_path;
    if (path.empty()) {
        refuse("No present-day horizons to fit the slips to: the settings name no HORIZON_FILE= "
               "or PRESENT_HORIZON_FILE=.");
        return;
    }
    std::vector<horizon> horizons;
    fit_result fit;
    try {
        // The files are read as plot reads them, so a fit meets the same messages; the fit itself
        // needs no tracers.
        point_list tracers;
        const block boundary = read_run_inputs(files, {}, tracers);
        run_options given;
        read_run_horizons(files, given);
        horizons = present_day_horizons(given);
        fit = fit_slips(boundary, doc.faults_loaded, horizons);
    } catch (const fit_error& e) {
        refuse(path + ": " + e.what());
        return;
    } catch (const run_aborted& e) {
        refuse(e.what());
        return;
    } catch (const input_error& e) {
        refuse(e.what());
        return;
    }
    const std::string singular = singular_fault_labels(fit);
    if (!singular.empty()) {
        refuse("The horizons cannot tell apart the slips of " + singular +
               "; the slips are unchanged.\n\n" + fit_summary_text(fit));
        return;
    }
    if (!fit.converged) {
        refuse("The fit did not converge; the slips are unchanged.\n\n" + fit_summary_text(fit));
        return;
    }
    if (!ui.fit_slips_dialog(fit_slips_table_of(fit, horizons)))
        return;
    doc.faults_loaded = std::move(fit.faults);
    show_faults();
}

} // namespace tolvex
