// Both cutting runs step by step as VTK files with ParaView file-series indices, so that ParaView
// plays each run as a time series.
#pragma once

#include "model_run.hpp"
#include "staged_files.hpp"

#include <cstddef>
#include <string>

namespace tolvex {

// How step files are written: compressed VTK XML PolyData (.vtp, the default: a fraction of the
// size and time), or legacy ASCII (.vtk) for programs that read only that.
enum class step_format { vtp, vtk };

// "restoration_007.vtp" or "forward_tracers_007.vtk": the step padded to three digits, or to as
// many as step_count has.
std::string step_file_name(run_kind run, bool tracers, std::size_t step, std::size_t step_count,
                           step_format format = step_format::vtp);

// The file-series index of one run's blocks or tracers, steps 0 to step_count with the step as
// the time: {"file-series-version": "1.0", "files": [{"name": ..., "time": 0}, ...]}.
std::string step_series_index(run_kind run, bool tracers, std::size_t step_count,
                              step_format format = step_format::vtp);

// Whether name is one that stage_step_files writes, in either format: a step file or a series
// index ("restoration.vtk.series", "restoration_tracers.vtk.series", "forward..." alike).
bool is_step_file_name(const std::string& name);

// Stages into out, in folder, the step's blocks (as blocks_to_vtp or blocks_to_vtk) and its
// tracers (likewise), in the boundary file's coordinates, each naming the fault just applied as
// "identifier tag", or "initial" at step 0; after a run's last step also that run's two series
// indices.
void stage_step_files(const run_step& step, const std::string& folder, staged_files& out,
                      step_format format = step_format::vtp);

} // namespace tolvex
