// Placeholder until the run is built.
#include "model_run.hpp"

namespace tolvex {
run_files configured_run_files() { return {}; }
std::string tracer_failure_text(const std::string& name) {
    return "Failed to load tracer points from [" + name + "].";
}
void run_model(const run_files&, const warn_fn&) { throw run_aborted("model run not built"); }
} // namespace tolvex
