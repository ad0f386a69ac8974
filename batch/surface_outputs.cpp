#include "batch/surface_outputs.hpp"

#include "formats/block_export.hpp"
#include "formats/surface_export.hpp"

namespace tolvex {

namespace {

void stage_horizons(const std::string& path, const run_state& run, const model_result& result,
                    staged_files& out) {
    if (!path.empty())
        out.write(path,
                  surfaces_to_text(horizon_surfaces(run.horizons, result.horizons, result.centre),
                                   path, result.centre));
}

void stage_fault_walls(const std::string& path, const run_state& run, run_kind kind,
                       const model_result& result, const std::vector<fault>& faults,
                       staged_files& out) {
    if (!path.empty())
        out.write(path, surfaces_to_text(fault_wall_surfaces(fault_surfaces_of(run.blocks), faults,
                                                             kind, result.centre),
                                         path, result.centre));
}

} // namespace

std::vector<named_file> surface_outputs(const batch_options& o) {
    return {{"--save-horizons", o.save_horizons},
            {"--save-restored-horizons", o.save_restored_horizons},
            {"--save-fault-surfaces", o.save_fault_surfaces},
            {"--save-restored-fault-surfaces", o.save_restored_fault_surfaces},
            {"--save-tracer-points", o.save_tracer_points}};
}

void stage_surface_outputs(const batch_options& o, const model_result& result,
                           const std::vector<fault>& faults, staged_files& out) {
    stage_horizons(o.save_horizons, result.forward, result, out);
    stage_horizons(o.save_restored_horizons, result.restored, result, out);
    stage_fault_walls(o.save_fault_surfaces, result.forward, run_kind::forward, result, faults,
                      out);
    stage_fault_walls(o.save_restored_fault_surfaces, result.restored, run_kind::restoration,
                      result, faults, out);
    if (!o.save_tracer_points.empty())
        out.write(o.save_tracer_points,
                  tracer_points_text(result.forward.tracers, result.centre, o.save_tracer_points));
}

} // namespace tolvex
