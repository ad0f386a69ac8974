// Both cutting runs step by step as VTK files with ParaView file-series indices, so that ParaView
// plays each run as a time series.
#pragma once

#include "formats/block_export.hpp"
#include "geometry/horizon.hpp"
#include "geometry/xyz.hpp"
#include "model/model_run.hpp"
#include "model/step_history.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tolvex {

// How step files are written: compressed VTK XML PolyData (.vtp, the default: a fraction of the
// size and time), or legacy ASCII (.vtk) for programs that read only that.
enum class step_format { vtp, vtk };

// What one series of a run holds at each step.
enum class step_series { blocks, tracers, horizons };

// "restoration_007.vtp", "forward_tracers_007.vtk" or "forward_horizons_007.vtk": the step padded
// to three digits, or to as many as step_count has. Horizons are legacy VTK in either format.
std::string step_file_name(run_kind run, step_series series, std::size_t step,
                           std::size_t step_count, step_format format = step_format::vtp);

// The file-series index of one run's series, steps 0 to step_count with the step as the time:
// {"file-series-version": "1.0", "files": [{"name": ..., "time": 0}, ...]}.
std::string step_series_index(run_kind run, step_series series, std::size_t step_count,
                              step_format format = step_format::vtp);

// The name of that index: the series' name with its files' ending, "forward.vtp.series",
// "forward_tracers.vtk.series", "forward_horizons.vtk.series" (horizons are always legacy).
std::string step_series_index_name(run_kind run, step_series series, step_format format);

// Whether name is one that stage_step_files writes, in either format: a step file or a series
// index ("restoration.vtp.series", "restoration_tracers.vtk.series", "forward..." alike).
bool is_step_file_name(const std::string& name);

// Takes a file's path and its content.
using file_fn = std::function<void(std::string path, std::string content)>;

// The faces of every shape of a step history as outward_faces gives them, found once per shape
// (a move does not change them): per face of the shapes, in their order, whether its corners
// turn inward as held (then outward_faces keeps the first and reverses the rest) and its outward
// normal.
struct outward_shapes {
    std::size_t shapes = 0; // how many shapes it holds
    std::vector<std::uint8_t> turned;
    std::vector<xyz> normals;
};

// Finds the outward faces of the shapes of history that outward does not hold yet.
void add_outward_shapes(outward_shapes& outward, const step_history& history);

// Gives out, in folder, the last step kept in history, which change told of: its blocks (as
// blocks_to_vtp or blocks_to_vtk, faces naming their loaded fault, with outward holding the
// outward faces of history's shapes) and its tracers (likewise), in the boundary file's
// coordinates, each naming the fault just applied as "identifier tag", or "initial" at step 0; the
// step's horizon pieces too when it has them, named after horizons (the run's horizons as given);
// after a run's last step also that run's series indices. The block files name the loaded faults
// as fault_labels gives them ("fault_label"). numbers, when given, keeps the tracers' packed
// numbers from one step to the next.
void stage_step_files(const step_history& history, const outward_shapes& outward,
                      const run_step_change& change, const std::vector<horizon>& horizons,
                      const std::string& folder, const file_fn& out,
                      step_format format = step_format::vtp,
                      const std::vector<std::string>& fault_labels = {},
                      tracer_numbers* numbers = nullptr);

} // namespace tolvex
