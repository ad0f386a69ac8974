// The surfaces and points tolvex-batch writes for geology programs: the runs' horizons, their
// fault walls and the forward tracers, all in the boundary file's coordinates.
#pragma once

#include "batch/batch_options.hpp"
#include "batch/output_checks.hpp"
#include "io/staged_files.hpp"

#include <vector>

namespace tolvex {

// The files these options name, for the checks that no output overwrites another file.
std::vector<named_file> surface_outputs(const batch_options& o);

// Stages the files o asks for; faults are the loaded faults, which name the walls.
void stage_surface_outputs(const batch_options& o, const model_result& result,
                           const std::vector<fault>& faults, staged_files& out);

} // namespace tolvex
