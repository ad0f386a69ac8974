// tolvex-batch: one model run without a window, for scripts and headless machines.
// Exit status 0 on success, 1 on bad input or a failed write, 2 on a usage error.

#include "batch_options.hpp"
#include "block_export.hpp"
#include "fault_checks.hpp"
#include "fault_file.hpp"
#include "input_error.hpp"
#include "model_lists.hpp"
#include "model_run.hpp"
#include "scene_image.hpp"
#include "tolvex_conf.hpp"
#include "tracer_file.hpp"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace {

using namespace tolvex;

// The run's files: the configuration's names relative to its own folder, overridden by the
// names given on the command line (relative to the current folder).
run_files batch_run_files(const batch_options& o, const tolvex_conf& conf) {
    run_files files;
    const std::filesystem::path conf_dir = std::filesystem::path(o.config).parent_path();
    files.boundary_path =
        o.boundary.empty() ? (conf_dir / conf.boundary_file).string() : o.boundary;
    files.tracer_path = o.tracers.empty() ? (conf_dir / conf.tracer_file).string() : o.tracers;
    files.tracer_name = files.tracer_path;
    files.tracer_radius = o.tracer_radius.value_or(conf.tracer_radius);
    return files;
}

void read_config(const std::string& path, tolvex_conf& conf) {
    if (!conf.read(path))
        throw input_error(path, 0, "cannot open the configuration file");
    if (!conf.problems.empty())
        throw conf.problems.front();
}

void load_faults(const std::string& path) {
    if (!load_fault_file(path))
        throw input_error(path, 0, "cannot open the fault file");
    for (const std::string& w : fault_warnings(faults_loaded))
        std::cerr << "tolvex-batch: warning: " << path << ": " << w << "\n";
}

void save_outputs(const batch_options& o, const tolvex_conf& conf, double radius) {
    if (!o.save_tracers.empty())
        write_tracer_file(o.save_tracers, tracers_pro, radius);
    if (!o.save_restored_tracers.empty())
        write_tracer_file(o.save_restored_tracers, tracers_retro, radius);
    if (!o.save_blocks.empty())
        write_blocks_file(o.save_blocks, blocks_pro);
    if (!o.save_restored_blocks.empty())
        write_blocks_file(o.save_restored_blocks, blocks_retro);
    if (!o.save_image.empty()) {
        scene_image_options image;
        image.width = o.image_width;
        image.height = o.image_height;
        image.clear_color = conf.clear_color;
        image.eye = conf.initial_view_point;
        save_scene_image(o.save_image, conf.show_block ? blocks_pro : std::vector<block>{},
                         conf.show_tracer ? tracers_pro : point_list{}, image);
    }
}

int run(const batch_options& o) {
    tolvex_conf& conf = tolvex_conf::get_instance();
    if (!o.config.empty())
        read_config(o.config, conf);
    const run_files files = batch_run_files(o, conf);
    load_faults(o.faults);

    // The boundary warning is the cause of the abort that follows it, so it is the message.
    std::string boundary_warning;
    const auto start = std::chrono::steady_clock::now();
    try {
        run_model(files, [&](const std::string& text) { boundary_warning = text; });
    } catch (const run_aborted& e) {
        std::cerr << "tolvex-batch: " << (boundary_warning.empty() ? e.what() : boundary_warning)
                  << "\n";
        return 1;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    save_outputs(o, conf, files.tracer_radius);
    if (!o.quiet)
        std::fprintf(stderr, "tolvex-batch: %zu faults, %zu blocks, %zu tracers, %.3f s\n",
                     faults_pro.size(), blocks_pro.size(), tracers_pro.size(), elapsed.count());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    batch_options options;
    try {
        options = parse_batch_options(argc, argv);
    } catch (const usage_error& e) {
        std::cerr << "tolvex-batch: " << e.what() << "\n" << batch_usage();
        return 2;
    }
    if (options.help) {
        std::cout << batch_usage();
        return 0;
    }
    try {
        return run(options);
    } catch (const std::exception& e) {
        std::cerr << "tolvex-batch: " << e.what() << "\n";
        return 1;
    }
}
