// tolvex-batch: one model run without a window, for scripts and headless machines.
// Exit status 0 on success, 1 on bad input or a failed write, 2 on a usage error.

#include "batch/batch_options.hpp"
#include "batch/cutoff_outputs.hpp"
#include "batch/desktop_settings.hpp"
#include "batch/output_checks.hpp"
#include "batch/slip_fit.hpp"
#include "batch/stop_signals.hpp"
#include "batch/surface_outputs.hpp"
#include "config/conf_run_files.hpp"
#include "config/tolvex_conf.hpp"
#include "drawing/page_bound.hpp"
#include "formats/block_export.hpp"
#include "formats/fault_file.hpp"
#include "formats/horizon_file.hpp"
#include "formats/section_export.hpp"
#include "formats/step_files.hpp"
#include "formats/tracer_file.hpp"
#include "geometry/horizon_colour.hpp"
#include "geometry/stop_point.hpp"
#include "io/file_paths.hpp"
#include "io/input_error.hpp"
#include "io/number_text.hpp"
#include "io/staged_files.hpp"
#include "io/usage_text.hpp"
#include "io/write_queue.hpp"
#include "model/fault_label.hpp"
#include "model/run_section.hpp"
#include "model/step_history.hpp"
#include "model/step_label.hpp"
#include "viewer/scene_image.hpp"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>

namespace {

using namespace tolvex;

// The run's files: the configuration's names relative to its own folder, overridden by the
// names given on the command line (relative to the current folder). Horizons given on the command
// line replace all of the configuration's, so that a run never mixes the two.
run_files batch_run_files(const batch_options& o, const tolvex_conf& conf) {
    run_files files = chosen_run_files(conf, std::filesystem::path(o.config).parent_path().string(),
                                       {o.boundary, o.tracers, o.tracer_radius});
    if (!o.horizons.empty() || !o.present_horizons.empty() || !o.undeformed_horizons.empty()) {
        files.horizon_path = o.horizons;
        files.present_horizon_path = o.present_horizons;
        files.undeformed_horizon_path = o.undeformed_horizons;
    }
    return files;
}

void read_config(const std::string& path, tolvex_conf& conf) {
    const bool read = conf.read(path);
    if (!conf.problems.empty())
        throw conf.problems.front();
    if (!read)
        throw open_error(path, ENOENT);
    if (const auto warning = no_settings_warning(conf, path))
        std::cerr << "tolvex-batch: warning: " << *warning << "\n";
}

// The --faults file, its rows' planes fitted to the --fault-surfaces when given.
std::vector<fault> load_faults(const batch_options& o) {
    const warn_fn print = [](const std::string& text) {
        std::cerr << "tolvex-batch: warning: " << text << "\n";
    };
    std::optional<fault_planes> planes;
    if (!o.fault_surfaces.empty())
        planes = fit_fault_surfaces(read_horizon_file(o.fault_surfaces), o.fault_surfaces,
                                    o.max_fault_misfit, [&o](const std::string& text) {
                                        if (!o.quiet)
                                            std::cerr << "tolvex-batch: " << text << "\n";
                                    });
    std::optional<std::vector<fault>> faults =
        read_fault_file(o.faults, print, planes ? &*planes : nullptr);
    if (!faults)
        throw open_error(o.faults, ENOENT);
    return std::move(*faults);
}

// What --save-image draws of a step besides its model: the label the viewer gives it and the
// fault it applied.
struct picture_marks {
    std::string label;
    std::optional<fault_plane> plane;
};

picture_marks marks_of(const run_step& step) {
    picture_marks marks{step_label(step), std::nullopt};
    if (step.applied)
        marks.plane = fault_plane{step.applied->point, step.applied->normal};
    return marks;
}

// The marks of a run's last step, from its result.
picture_marks last_step_marks(run_kind run, const run_state& result) {
    const std::size_t n = result.faults.size();
    return marks_of({run, n, n, n > 0 ? &result.faults.back() : nullptr, result.blocks,
                     result.tracers, make_vec3(0.0, 0.0, 0.0), nullptr, result.carried});
}

// Takes each step a run reports once it is kept in history, the run's steps so far.
using history_fn = std::function<void(const step_history& history, const run_step_change& change)>;

// A history_fn that copies the blocks, tracers and marks of the step --save-image draws into
// picture, or none when that is the last step of a run, which the result holds anyway. Throws
// usage_error when the runs of fault_count faults have no such step.
history_fn picture_step_keeper(const batch_options& o, std::size_t fault_count, run_state& picture,
                               picture_marks& marks) {
    const std::size_t wanted = o.picture_step.step.value_or(fault_count);
    if (wanted > fault_count)
        throw usage_error("--image-step: there is no step " + std::to_string(wanted) +
                          "; the runs have steps 0 to " + std::to_string(fault_count));
    if (o.save_image.empty() || wanted == fault_count)
        return {};
    return [&picture, &marks, wanted, run = o.picture_step.run](const step_history& history,
                                                                const run_step_change& change) {
        if (change.run != run || change.step != wanted)
            return;
        const history_step& kept = history.steps.back();
        picture.blocks = to_blocks(step_set(history, history.steps.size() - 1));
        picture.tracers = change.tracers;
        if (!change.horizons.empty())
            picture.horizons = kept.horizons;
        marks = marks_of({change.run, change.step, change.step_count, change.applied,
                          picture.blocks, picture.tracers, change.centre, nullptr, change.carried});
    };
}

// The runs whose final blocks an output of o writes, draws or takes the fault walls from.
kept_blocks blocks_needed(const batch_options& o) {
    const bool drawn = !o.save_image.empty();
    return {!o.save_restored_blocks.empty() || !o.save_restored_fault_surfaces.empty() ||
                wants_cutoffs(o) || (drawn && o.picture_step.run == run_kind::restoration),
            !o.save_blocks.empty() || !o.save_fault_surfaces.empty() || wants_cutoffs(o) ||
                (drawn && o.picture_step.run == run_kind::forward)};
}

// Stops before anything is read or written when an output would overwrite an input or another
// output.
void check_output_paths(const batch_options& o, const run_files& files) {
    const std::string from_config = o.config.empty() ? "" : " file of --config";
    std::vector<named_file> inputs = {
        {"--faults", o.faults},
        {"--fault-surfaces", o.fault_surfaces},
        {o.boundary.empty() ? "the boundary" + from_config : "--boundary", files.boundary_path},
        {o.tracers.empty() ? "the tracer" + from_config : "--tracers", files.tracer_path}};
    if (!o.config.empty())
        inputs.push_back({"--config", o.config});
    inputs.push_back(
        {o.horizons.empty() ? "the horizon file" + from_config : "--horizons", files.horizon_path});
    inputs.push_back({o.present_horizons.empty() ? "the present-day horizon file" + from_config
                                                 : "--present-horizons",
                      files.present_horizon_path});
    inputs.push_back({o.undeformed_horizons.empty() ? "the undeformed horizon file" + from_config
                                                    : "--undeformed-horizons",
                      files.undeformed_horizon_path});
    std::vector<named_file> outputs = {{"--save-tracers", o.save_tracers},
                                       {"--save-restored-tracers", o.save_restored_tracers},
                                       {"--save-faults", o.save_faults},
                                       {"--save-blocks", o.save_blocks},
                                       {"--save-restored-blocks", o.save_restored_blocks},
                                       {"--save-image", o.save_image},
                                       {"--save-section", o.section ? o.section->path : ""}};
    const std::vector<named_file> surfaces = surface_outputs(o);
    outputs.insert(outputs.end(), surfaces.begin(), surfaces.end());
    const std::vector<named_file> cutoffs = cutoff_outputs(o);
    outputs.insert(outputs.end(), cutoffs.begin(), cutoffs.end());
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
// The picture's options: the configuration's view with the modes the command line gives, the
// guides, and the step's marks; tracers coloured by their elevation in initial.
scene_image_options picture_options(const batch_options& o, const tolvex_conf& conf,
                                    const picture_marks& marks, const point_list& initial) {
    scene_image_options image;
    image.width = o.image_width;
    image.height = o.image_height;
    const view_options view = conf.view();
    image.clear_color = view.clear_color;
    image.eye = view.eye;
    image.modes.lit = o.image_lit.value_or(view.modes.lit);
    image.modes.colouring = o.image_colouring.value_or(view.modes.colouring);
    image.modes.tracers = o.image_tracers.value_or(view.modes.tracers);
    image.modes.blocks = o.image_blocks.value_or(view.modes.blocks);
    image.guides = true;
    image.label = marks.label;
    image.plane = marks.plane;
    if (view.show_tracer)
        for (const vec3& t : initial)
            image.tracer_start_z.push_back(t[2]);
    return image;
}

void stage_outputs(const batch_options& o, const tolvex_conf& conf, double radius,
                   const std::vector<fault>& faults, const model_result& result,
                   const point_list& initial_tracers, const run_state& picture,
                   const std::optional<picture_marks>& kept_marks, staged_files& out) {
    const run_state& forward = result.forward;
    // Each output is made in memory and written once, into its staged file.
    if (!o.save_faults.empty())
        out.write(o.save_faults, faults_text_for(o.save_faults, faults));
    if (!o.save_tracers.empty())
        out.write(o.save_tracers, tracers_to_text(forward.tracers, radius, o.save_tracers));
    if (!o.save_restored_tracers.empty())
        out.write(o.save_restored_tracers,
                  tracers_to_text(result.restored.tracers, radius, o.save_restored_tracers));
    const std::size_t fault_count = forward.faults.size();
    const std::vector<std::string> labels = fault_short_labels(result.restored.faults);
    if (!o.save_blocks.empty())
        out.write(o.save_blocks, blocks_file_text(o.save_blocks, forward.blocks, result.centre,
                                                  {run_kind::forward, fault_count, labels}));
    if (!o.save_restored_blocks.empty())
        out.write(o.save_restored_blocks,
                  blocks_file_text(o.save_restored_blocks, result.restored.blocks, result.centre,
                                   {run_kind::restoration, fault_count, labels}));
    if (!o.save_image.empty()) {
        const run_kind run = o.picture_step.run;
        const run_state& last = run == run_kind::forward ? result.forward : result.restored;
        const run_state& shown = kept_marks ? picture : last;
        scene_image_options image = picture_options(
            o, conf, kept_marks ? *kept_marks : last_step_marks(run, last), initial_tracers);
        image.horizons = shown.horizons;
        image.horizon_colours = horizon_colours(result.horizons);
        if (!o.image_blocks)
            image.modes = start_modes(image.modes, shown.horizons.polygons.size() > 0);
        const std::vector<block> blocks = conf.show_block ? shown.blocks : std::vector<block>{};
        const point_list tracers = conf.show_tracer ? shown.tracers : point_list{};
        if (const auto advice = scene_image_advice(blocks, tracers, image))
            std::cerr << "tolvex-batch: warning: " << o.save_image << ": " << *advice << "\n";
        out.write(o.save_image, scene_image_png(blocks, tracers, image, o.save_image));
    }
}

// The step files of an earlier run in folder that this run does not write again (it had more
// faults) go when this run's files take their places, so that the folder holds one run.
void remove_earlier_steps(const std::string& folder, staged_files& out) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string path = join_path(folder, entry.path().filename().string());
        if (is_step_file_name(entry.path().filename().string()) && entry.is_regular_file(ec) &&
            !out.stages(path))
            out.remove(path);
    }
}

// Stops before the run when a section step is not one of the runs' steps.
void check_section_steps(const batch_options& o, std::size_t fault_count) {
    if (!o.section)
        return;
    for (const image_step& step : o.section->steps)
        if (step.step.value_or(fault_count) > fault_count)
            throw usage_error("--section-step: there is no step " + std::to_string(*step.step) +
                              "; the runs have steps 0 to " + std::to_string(fault_count));
}

// The drawing's look from the options over the config.
section_style section_style_of(const batch_options& o, const tolvex_conf& conf) {
    section_style style;
    style.units = o.units.value_or(conf.units);
    if (o.image_size_given)
        style.pixels = {o.image_width, o.image_height};
    return style;
}

// The section's panels, one per step asked for, drawn into its file; a line that misses the
// model is a usage error naming --section.
void stage_section(const section_options& s, section_style style, const model_result& result,
                   const std::vector<fault>& faults, const point_list& tracers, staged_files& out) {
    std::vector<section> panels;
    try {
        for (const image_step& step : s.steps) {
            stop_if_signalled();
            panels.push_back(run_section(result, faults, tracers, step.run,
                                         step.step.value_or(faults.size()), {s.line, s.band}));
        }
    } catch (const section_error& e) {
        throw usage_error(std::string("--section: ") + e.what());
    }
    if (s.vtk)
        return out.write(s.path, sections_to_vtk(panels));
    style.exaggeration = s.exaggeration;
    std::string drawing;
    try {
        drawing = draw_sections(panels, style, s.format);
    } catch (const page_too_large& e) {
        // At exaggeration 1 it is the line that makes the drawing too tall.
        throw usage_error(
            std::string(s.exaggeration != 1.0 ? "--section-exaggeration: " : "--section: ") +
            e.what());
    } catch (const std::bad_alloc&) {
        throw std::runtime_error(s.path + ": not enough memory to draw the section");
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(s.path + ": " + e.what());
    }
    out.write(s.path, drawing);
}

int run(const batch_options& o) {
    catch_stop_signals();
    // Cutting, horizon pieces and fault surfaces end within moments of a signal, not at the end.
    set_stop_check(stop_if_signalled);
    tolvex_conf conf;
    if (!o.config.empty())
        read_config(o.config, conf);
    const run_files files = batch_run_files(o, conf);
    check_horizon_outputs(o, !files.horizon_path.empty() || !files.present_horizon_path.empty(),
                          !files.horizon_path.empty() || !files.undeformed_horizon_path.empty());
    check_output_paths(o, files);
    check_output_endings(o);
    std::vector<fault> faults = load_faults(o); // the fitted ones with --fit-slips
    check_section_steps(o, faults.size());
    check_diagram_fault(o, faults);
    run_state picture;
    picture_marks marks;
    const history_fn keep_picture = picture_step_keeper(o, faults.size(), picture, marks);

    staged_files out;
    std::vector<horizon> horizons; // read with the other inputs, named in the step files
    tracer_numbers numbers;        // the same in every step's tracer file
    // Step files are written on a thread of their own while the next step is cut.
    std::optional<write_queue> step_files;
    const file_fn queue_file = [&step_files](std::string path, std::string content) {
        step_files->push(std::move(path), std::move(content));
    };
    const std::vector<std::string> labels = fault_short_labels(faults);
    if (!o.save_steps.empty()) {
        out.make_folder(o.save_steps);
        step_files.emplace([&out](const std::string& path, const std::string& content) {
            out.write(path, content);
        });
    }
    // The step files and the picture are made from the runs' changes, kept in a step history,
    // not from whole steps; a run's history is let go when the next run starts.
    step_history history;
    outward_shapes outward;
    step_change_fn on_change;
    if (step_files || keep_picture)
        on_change = [&](const run_step_change& change) {
            stop_if_signalled();
            if (change.start) {
                history = {};
                outward = {};
            }
            keep_step(history, change);
            if (step_files) {
                add_outward_shapes(outward, history);
                stage_step_files(history, outward, change, horizons, o.save_steps, queue_file,
                                 o.steps_format, labels, &numbers);
            }
            if (keep_picture)
                keep_picture(history, change);
        };
    const auto start = std::chrono::steady_clock::now();
    model_result result;
    point_list tracers;
    const warn_fn print_warning = [](const std::string& text) {
        std::cerr << "tolvex-batch: warning: " << text << "\n";
    };
    try {
        // A missing boundary file is the abort's cause, which names it, not a warning of its own.
        block boundary = read_run_inputs(files, {}, tracers, print_warning);
        run_options options{.keep = blocks_needed(o), .on_change = on_change};
        read_run_horizons(files, options, print_warning);
        horizons = given_horizons(options);
        if (o.fit_slips && !boundary.vertices.empty()) // else the run names the boundary
            faults = batch_fitted_faults(o, boundary, faults, present_day_horizons(options),
                                         files.horizon_path.empty() ? files.present_horizon_path
                                                                    : files.horizon_path);
        result = run_model(std::move(boundary), faults, tracers, std::move(options));
        if (step_files)
            step_files->finish();
    } catch (const missing_input_file& e) {
        // The desktop program's texts, which leave out that the file is missing; one that
        // exists but cannot be opened has the system's reason in its text already.
        const bool missing = e.error_number() == ENOENT;
        std::cerr << "tolvex-batch: "
                  << (e.role() == input_role::boundary ? boundary_warning_text(e.path()) + " " +
                                                             std::strerror(e.error_number()) + "."
                      : missing ? std::string(e.what()) + " " + std::strerror(ENOENT) + "."
                                : std::string(e.what()))
                  << "\n";
        return 1;
    } catch (const run_aborted& e) {
        std::cerr << "tolvex-batch: " << e.what() << "\n";
        return 1;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    for (const std::string& w : result.warnings)
        std::cerr << "tolvex-batch: warning: " << o.faults << ": " << w << "\n";
    for (const std::string& w : result.horizon_warnings)
        std::cerr << "tolvex-batch: warning: " << horizon_paths_text(files) << ": " << w << "\n";

    stop_if_signalled();
    stage_outputs(o, conf, files.tracer_radius, faults, result, tracers, picture,
                  keep_picture ? std::optional<picture_marks>(marks) : std::nullopt, out);
    stop_if_signalled();
    stage_surface_outputs(o, result, faults, out);
    stage_cutoff_outputs(o, result, section_style_of(o, conf), out);
    stop_if_signalled();
    if (o.section)
        stage_section(*o.section, section_style_of(o, conf), result, faults, tracers, out);
    if (!o.save_steps.empty())
        remove_earlier_steps(o.save_steps, out);
    {
        const stop_signals_held held;
        stop_if_signalled();
        out.commit();
    }
    if (!o.quiet)
        std::cerr << "tolvex-batch: " << result.forward.faults.size() << " faults, "
                  << result.forward.block_count << " blocks, " << result.forward.tracers.size()
                  << " tracers, " << fixed_text(elapsed.count(), 3) << " s\n";
    return 0;
}

int stopped(const run_stopped& stop) {
    std::cerr << "tolvex-batch: stopped by signal " << stop.signal << "; nothing was written\n";
    return stopped_status(stop);
}

int usage_failure(const usage_error& e) {
    std::cerr << usage_error_text("tolvex-batch", e.what());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    batch_options options;
    try {
        options = parse_batch_options(argc, argv);
        if (options.config.empty() && options.boundary.empty() && !options.help && !options.version)
            options.config = desktop_settings(settings_places_here(), path_exists);
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
    } catch (const run_stopped& stop) {
        return stopped(stop);
    } catch (const std::exception& e) {
        // Opening a pipe that no one writes to blocks until a signal breaks it off.
        if (const int signal = received_stop_signal())
            return stopped({signal});
        std::cerr << "tolvex-batch: " << e.what() << "\n";
        return 1;
    }
}
