// What a step is named by, in the viewer, in pictures and in section titles.
#pragma once

#include "model/model_run.hpp"

#include <cstddef>
#include <string>

namespace tolvex {

// "forward 2/3: 102 NF-E": the run, "restored" or "forward", the step and the run's step count,
// then the identifier and tag of the fault just applied; nothing after the count at step 0. Then
// ", present-day horizons" or ", undeformed horizons" when the run carries only its own.
std::string step_label(run_kind run, std::size_t step, std::size_t step_count, const fault* applied,
                       horizon_set carried);

// ", present-day horizons" or ", undeformed horizons" (horizon_set_words), which the labels of a
// run that carries only its own set end with; empty otherwise.
std::string horizon_set_suffix(horizon_set carried);

// The same for a step the run reports.
std::string step_label(const run_step& step);

} // namespace tolvex
