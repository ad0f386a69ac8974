// What plot and a step key cost in the desktop program, on a box cut by seeded random faults
// (state.range(0)) carrying state.range(1) tracers. plot_history runs the model keeping every step
// of both runs as the viewer holds them, as plot does before the viewer opens (or, for comparison,
// only runs the model), and reports the process's peak memory so far. showing_step shows steps the
// viewer has not shown yet, stepping back from the forward run's last, offscreen: stage 0 only
// lists the step's parts, 1 also builds the frame's arrays, 2 also records them into a buffer, 3
// also draws the frame, as a key does.
#include "model/model_run.hpp"
#include "tests/support/box.hpp"
#include "tests/support/random_faults.hpp"
#include "view_math/camera_fit.hpp"
#include "view_math/run_history.hpp"
#include "viewer/offscreen_context.hpp"
#include "viewer/scene_drawing.hpp"
#include "viewer/viewer_session.hpp"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

constexpr int width = 640;
constexpr int height = 480;

struct plot_setup {
    explicit plot_setup(const benchmark::State& state) {
        std::mt19937 rng(42);
        faults = random_faults(rng, static_cast<int>(state.range(0)));
        for (std::size_t i = 0; i < faults.size(); ++i) {
            faults[i].id = static_cast<int>(i + 1);
            set_order(faults[i], static_cast<int>(faults.size() - i));
        }
        tracers.resize(static_cast<std::size_t>(state.range(1)));
        for (vec3& t : tracers)
            t = random_point(rng);
    }
    std::vector<fault> faults;
    point_list tracers;
    block box = make_box(make_vec3(-10, -10, -5), make_vec3(10, 10, 5));
};

// Both runs' histories as the viewer gets them from plot; empty unless keep.
viewer_scenes plotted(const plot_setup& setup, bool keep = true) {
    scene_history restored, forward;
    tolvex::run_model(setup.box, setup.faults, setup.tracers,
                      {.on_change = keep ? tolvex::history_collector(restored, forward)
                                         : tolvex::step_change_fn{}});
    return {shown_parts(std::move(restored), true, true),
            shown_parts(std::move(forward), true, true), ""};
}

void plot_history(benchmark::State& state) {
    const plot_setup setup(state);
    std::size_t shapes = 0;
    for (auto _ : state) {
        viewer_session session;
        start_session(session, plotted(setup, state.range(2) != 0), {});
        shapes = block_count(session.scenes.restored.kept.shapes) +
                 block_count(session.scenes.forward.kept.shapes);
        benchmark::DoNotOptimize(session.box);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["shapes"] = static_cast<double>(shapes);
}

void showing_step(benchmark::State& state) {
    const plot_setup setup(state);
    viewer_session session;
    start_session(session, plotted(setup), {});
    const scene_history& history = session.scenes.forward;
    tolvex::offscreen_context context(width, height);
    view_state view;
    view.ww = width;
    view.hh = height;
    view = initial_view(view, {1600, -2900, 1900});
    apply_fixed_state({0.16f, 0.2f, 0.28f, 1.0f});
    const depth_range planes = depth_planes(view, session.box);
    apply_camera(view, planes);
    const bool cull = scene_in_front(view, session.box, planes);
    const display_modes modes = session.state.modes;
    const std::int64_t stage = state.range(2);
    std::size_t step = history.steps.size();
    std::size_t blocks = 0, triangles = 0; // of the last step shown
    for (auto _ : state) {
        step = step > 1 ? step - 1 : history.steps.size() - 1;
        step_frame frame;
        step_parts(history, step, modes.fault_surfaces, frame, &shown_windings(session));
        benchmark::DoNotOptimize(frame.parts.data());
        if (stage < 1)
            continue;
        const frame_mesh mesh = build_frame_mesh(
            frame.parts, modes, {step_plane(history, step), start_z_range(history)});
        blocks = frame.parts.size() - 1;
        triangles = mesh.faces.triangles.size() / 3;
        if (stage < 2)
            continue;
        const recorded_scene scene = record_scene(mesh);
        if (stage >= 3) {
            clear_frame();
            replay_scene(scene, modes, cull);
        }
        glFinish();
        state.PauseTiming();
        delete_scene(scene);
        state.ResumeTiming();
    }
    state.counters["blocks"] = static_cast<double>(blocks);
    state.counters["triangles"] = static_cast<double>(triangles);
}

} // namespace

// Arguments: fault count, tracer count, whether steps are kept (without: the run alone).
BENCHMARK(plot_history)
    ->ArgsProduct({{30, 100}, {100000}, {1, 0}})
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Arguments: fault count, tracer count, stage.
BENCHMARK(showing_step)
    ->ArgsProduct({{100}, {100000}, {0, 1, 2, 3}})
    ->Iterations(10)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
