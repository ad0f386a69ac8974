// tolvex-batch: one model run without a window, for scripts and headless machines.
// Exit status 0 on success, 1 on bad input or a failed write, 2 on a usage error.

#include "batch_options.hpp"
#include "block_export.hpp"
#include "conf_run_files.hpp"
#include "fault_checks.hpp"
#include "fault_file.hpp"
#include "input_error.hpp"
#include "number_text.hpp"
#include "output_checks.hpp"
#include "scene_image.hpp"
#include "staged_files.hpp"
#include "step_files.hpp"
#include "tolvex_conf.hpp"
#include "tracer_file.hpp"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace {

using namespace tolvex;

// The run's files: the configuration's names relative to its own folder, overridden by the
// names given on the command line (relative to the current folder).
run_files batch_run_files(const batch_options& o, const tolvex_conf& conf) {
    return chosen_run_files(conf, std::filesystem::path(o.config).parent_path().string(),
                            {o.boundary, o.tracers, o.tracer_radius});
}

void read_config(const std::string& path, tolvex_conf& conf) {
    const bool read = conf.read(path);
    if (!conf.problems.empty())
        throw conf.problems.front();
    if (!read)
        throw open_error(path, ENOENT);
}

std::vector<fault> load_faults(const std::string& path) {
    std::optional<std::vector<fault>> faults = read_fault_file(path);
    if (!faults)
        throw open_error(path, ENOENT);
    for (const std::string& w : fault_warnings(*faults))
        std::cerr << "tolvex-batch: warning: " << path << ": " << w << "\n";
    return std::move(*faults);
}

// A step_fn that copies the blocks and tracers of the step --save-image draws into picture, or
// none when that is the last step of a run, which the result holds anyway (keeping steps builds
// the whole model after every fault). Throws usage_error when the runs of fault_count faults have
// no such step.
step_fn picture_step_keeper(const batch_options& o, std::size_t fault_count, run_state& picture) {
    const std::size_t wanted = o.picture_step.step.value_or(fault_count);
    if (wanted > fault_count)
        throw usage_error("--image-step: there is no step " + std::to_string(wanted) +
                          "; the runs have steps 0 to " + std::to_string(fault_count));
    if (o.save_image.empty() || wanted == fault_count)
        return {};
    return [&picture, wanted, run = o.picture_step.run](const run_step& step) {
        if (step.run == run && step.step == wanted) {
            picture.blocks = step.blocks;
            picture.tracers = step.tracers;
        }
    };
}

// The runs whose final blocks an output of o writes or draws.
kept_blocks blocks_needed(const batch_options& o) {
    const bool drawn = !o.save_image.empty();
    return {!o.save_restored_blocks.empty() ||
                (drawn && o.picture_step.run == run_kind::restoration),
            !o.save_blocks.empty() || (drawn && o.picture_step.run == run_kind::forward)};
}

// Stops before anything is read or written when an output would overwrite an input or another
// output.
void check_output_paths(const batch_options& o, const run_files& files) {
    const std::string from_config = o.config.empty() ? "" : " file of --config";
    std::vector<named_file> inputs = {
        {"--faults", o.faults},
        {o.boundary.empty() ? "the boundary" + from_config : "--boundary", files.boundary_path},
        {o.tracers.empty() ? "the tracer" + from_config : "--tracers", files.tracer_path}};
    if (!o.config.empty())
        inputs.push_back({"--config", o.config});
    std::vector<named_file> outputs = {{"--save-tracers", o.save_tracers},
                                       {"--save-restored-tracers", o.save_restored_tracers},
                                       {"--save-blocks", o.save_blocks},
                                       {"--save-restored-blocks", o.save_restored_blocks},
                                       {"--save-image", o.save_image}};
    if (!o.save_steps.empty()) {
        const named_file steps{"--save-steps", o.save_steps};
        std::vector<named_file> others = inputs;
        others.insert(others.end(), outputs.begin(), outputs.end());
        check_steps_folder(steps, others);
        outputs.push_back(steps);
    }
    check_outputs(inputs, outputs);
}

// Each output goes to its temporary file; out puts them all in place once every one is written.
void stage_outputs(const batch_options& o, const tolvex_conf& conf, double radius,
                   const model_result& result, const run_state& picture, bool picture_kept,
                   staged_files& out) {
    const run_state& forward = result.forward;
    if (!o.save_tracers.empty())
        write_tracer_file(out.stage(o.save_tracers), forward.tracers, radius);
    if (!o.save_restored_tracers.empty())
        write_tracer_file(out.stage(o.save_restored_tracers), result.restored.tracers, radius);
    if (!o.save_blocks.empty())
        write_blocks_file(out.stage(o.save_blocks), forward.blocks);
    if (!o.save_restored_blocks.empty())
        write_blocks_file(out.stage(o.save_restored_blocks), result.restored.blocks);
    if (!o.save_image.empty()) {
        scene_image_options image;
        image.width = o.image_width;
        image.height = o.image_height;
        const view_options view = conf.view();
        image.clear_color = view.clear_color;
        image.eye = view.eye;
        const run_state& last =
            o.picture_step.run == run_kind::forward ? result.forward : result.restored;
        const run_state& shown = picture_kept ? picture : last;
        const std::vector<block> blocks = view.show_block ? shown.blocks : std::vector<block>{};
        const point_list tracers = view.show_tracer ? shown.tracers : point_list{};
        if (const auto advice = scene_image_advice(blocks, tracers, image))
            std::cerr << "tolvex-batch: warning: " << o.save_image << ": " << *advice << "\n";
        save_scene_image(out.stage(o.save_image), blocks, tracers, image);
    }
}

int run(const batch_options& o) {
    tolvex_conf conf;
    if (!o.config.empty())
        read_config(o.config, conf);
    const run_files files = batch_run_files(o, conf);
    check_output_paths(o, files);
    const std::vector<fault> faults = load_faults(o.faults);
    run_state picture;
    const step_fn keep_picture = picture_step_keeper(o, faults.size(), picture);

    staged_files out;
    step_fn on_step;
    if (!o.save_steps.empty()) {
        out.make_folder(o.save_steps);
        on_step = [&](const run_step& step) { stage_step_files(step, o.save_steps, out); };
    }
    if (keep_picture)
        on_step = [&keep_picture, save = std::move(on_step)](const run_step& step) {
            if (save)
                save(step);
            keep_picture(step);
        };
    // The boundary warning is the cause of the abort that follows it, so it is the message.
    std::string boundary_warning;
    const auto start = std::chrono::steady_clock::now();
    model_result result;
    try {
        point_list tracers;
        block boundary = read_run_inputs(
            files, [&](const std::string& text) { boundary_warning = text; }, tracers);
        result = run_model(std::move(boundary), faults, tracers, on_step, blocks_needed(o));
    } catch (const run_aborted& e) {
        std::string text = boundary_warning.empty() ? e.what() : boundary_warning;
        // These two texts are the desktop program's, which leave out that the file is missing.
        if (!boundary_warning.empty() || dynamic_cast<const tracer_file_missing*>(&e))
            text += std::string(" ") + std::strerror(ENOENT) + ".";
        std::cerr << "tolvex-batch: " << text << "\n";
        return 1;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    stage_outputs(o, conf, files.tracer_radius, result, picture, bool(keep_picture), out);
    out.commit();
    if (!o.quiet)
        std::cerr << "tolvex-batch: " << result.forward.faults.size() << " faults, "
                  << result.forward.block_count << " blocks, " << result.forward.tracers.size()
                  << " tracers, " << fixed_text(elapsed.count(), 3) << " s\n";
    return 0;
}

int usage_failure(const usage_error& e) {
    std::cerr << "tolvex-batch: " << e.what() << "\n" << batch_usage();
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    batch_options options;
    try {
        options = parse_batch_options(argc, argv);
    } catch (const usage_error& e) {
        return usage_failure(e);
    }
    if (options.help || options.version) {
        std::cout << (options.help ? batch_usage() : "tolvex-batch " TOLVEX_VERSION "\n");
        return 0;
    }
    try {
        return run(options);
    } catch (const usage_error& e) {
        return usage_failure(e);
    } catch (const std::exception& e) {
        std::cerr << "tolvex-batch: " << e.what() << "\n";
        return 1;
    }
}
