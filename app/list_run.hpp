// The plot button's model run on the process-wide model lists.
#pragma once

#include "run_files.hpp"

#include <string>

namespace tolvex {

// Reads the boundary, then the tracers into tracers_init, and runs the model from faults_loaded;
// then replaces faults_retro, faults_pro, blocks_init, blocks_retro, blocks_pro, tracers_retro
// and tracers_pro with the result, so a second run gives the same result as the first. warn
// receives the boundary warning; on_step, when set, sees every step of both runs. Throws
// run_aborted and input_error as read_run_inputs does; then only tracers_init may have changed.
void run_model_lists(const run_files& files, const warn_fn& warn, const step_fn& on_step = {});

} // namespace tolvex
