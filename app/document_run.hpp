// The plot button's model run on the main window's document.
#pragma once

#include "app/desktop_document.hpp"
#include "formats/run_files.hpp"

namespace tolvex {

// Reads the boundary, then the tracers into doc.tracers_init, then the horizons of the files it
// names (each run's own, or one file's for both), and runs the model from doc.faults_loaded; then
// replaces doc.last_run with the result, so every run starts from the files as loaded. warn
// receives the boundary warning; on_change, when set, sees every step of both runs as what changed;
// note, when set, receives each warning about input used as given (the readers' and the run's,
// these after the fault file's name). Throws run_aborted and input_error as read_run_inputs and
// read_run_horizons do; then only doc.tracers_init may have changed.
void run_document(desktop_document& doc, const run_files& files, const warn_fn& warn,
                  const step_change_fn& on_change = {}, const warn_fn& note = {});

} // namespace tolvex
