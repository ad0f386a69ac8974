#include "app/document_run.hpp"

#include <utility>

namespace tolvex {

void run_document(desktop_document& doc, const run_files& files, const warn_fn& warn,
                  const step_change_fn& on_change, const warn_fn& note) {
    block boundary = read_run_inputs(files, warn, doc.tracers_init, note);
    run_options options{.on_change = on_change};
    read_run_horizons(files, options, note);
    doc.last_run =
        run_model(std::move(boundary), doc.faults_loaded, doc.tracers_init, std::move(options));
    if (!note)
        return;
    for (const std::string& w : doc.last_run.warnings)
        note(doc.fault_path + ": " + w);
    for (const std::string& w : doc.last_run.horizon_warnings)
        note(horizon_paths_text(files) + ": " + w);
}

} // namespace tolvex
