#include "list_run.hpp"

#include "model_lists.hpp"

#include <utility>

namespace tolvex {

void run_model_lists(const run_files& files, const warn_fn& warn, const step_fn& on_step) {
    block boundary = read_run_inputs(files, warn, tracers_init);
    model_result result = run_model(std::move(boundary), faults_loaded, tracers_init, on_step);
    blocks_init.assign(1, std::move(result.boundary));
    faults_retro = std::move(result.restored.faults);
    blocks_retro = std::move(result.restored.blocks);
    tracers_retro = std::move(result.restored.tracers);
    faults_pro = std::move(result.forward.faults);
    blocks_pro = std::move(result.forward.blocks);
    tracers_pro = std::move(result.forward.tracers);
}

} // namespace tolvex
