// What tolvex-batch writes about each fault's cutoffs of the horizons: the lines, the
// separations along strike and the fault diagram.
#pragma once

#include "batch/batch_options.hpp"
#include "batch/output_checks.hpp"
#include "drawing/section_drawing.hpp"
#include "io/staged_files.hpp"

#include <vector>

namespace tolvex {

// The files these options name, for the checks that no output overwrites another file.
std::vector<named_file> cutoff_outputs(const batch_options& o);

// Whether o asks for anything made from the cutoffs (which need both runs' blocks).
bool wants_cutoffs(const batch_options& o);

// Throws usage_error when --fault names none of the loaded faults.
void check_diagram_fault(const batch_options& o, const std::vector<fault>& loaded);

// Stages the files o asks for, the fault diagram drawn in style as sections are.
void stage_cutoff_outputs(const batch_options& o, const model_result& result,
                          const section_style& style, staged_files& out);

} // namespace tolvex
