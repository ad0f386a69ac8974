#include "config/conf_run_files.hpp"

#include "io/file_paths.hpp"

namespace tolvex {

run_files configured_run_files(const tolvex_conf& conf, const std::string& folder) {
    const auto path = [&folder](const std::string& name) {
        return name.empty() ? "" : join_path(folder, name);
    };
    return {join_path(folder, conf.boundary_file),
            join_path(folder, conf.tracer_file),
            conf.tracer_file,
            conf.tracer_radius,
            path(conf.horizon_file),
            path(conf.present_horizon_file),
            path(conf.undeformed_horizon_file)};
}

run_files chosen_run_files(const tolvex_conf& conf, const std::string& folder,
                           const run_file_choice& given) {
    run_files files = configured_run_files(conf, folder);
    if (!given.boundary.empty())
        files.boundary_path = given.boundary;
    if (!given.tracers.empty())
        files.tracer_path = given.tracers;
    files.tracer_name = files.tracer_path;
    files.tracer_radius = given.tracer_radius.value_or(conf.tracer_radius);
    return files;
}

} // namespace tolvex
