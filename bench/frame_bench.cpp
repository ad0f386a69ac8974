// Time of one viewer frame at 640 x 480, offscreen (EGL surfaceless; Mesa's llvmpipe where there
// is no GPU), for a grid of small boxes: built and drawn from memory on every frame (immediate),
// the same calls replayed from a display list (display_list), and drawn from the buffer the
// viewer records once per step (recorded); and the time of building and recording, which the
// viewer spends once when it first shows a step. Real time, and the CPU time of all threads
// (llvmpipe's included).
#include "tests/support/box.hpp"
#include "viewer/offscreen_context.hpp"
#include "viewer/scene_drawing.hpp"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int width = 640;
constexpr int height = 480;

// count boxes in a cube grid 1000 units across, each a third of its cell wide.
std::vector<block> box_grid(int count) {
    const int per_side = static_cast<int>(std::ceil(std::cbrt(count)));
    const double cell = 1000.0 / per_side;
    std::vector<block> boxes;
    boxes.reserve(count);
    for (int i = 0; i < count; ++i) {
        block b = make_cube(cell / 6);
        const int at[3] = {i % per_side, i / per_side % per_side, i / per_side / per_side};
        for (vec3& v : b.vertices)
            for (int k = 0; k < 3; ++k)
                v[k] += (at[k] + 0.5) * cell - 500.0;
        boxes.push_back(std::move(b));
    }
    return boxes;
}

// A context with the viewer's state and camera on the grid, and the grid's frame.
struct frame_setup {
    explicit frame_setup(int count)
        : blocks(to_block_set(box_grid(count))), parts(parts_of(blocks, tracers)) {
        view_state view;
        view.ww = width;
        view.hh = height;
        view = initial_view(view, {1600, -2900, 1900});
        scene_box box;
        add_parts(box, parts);
        apply_fixed_state({0.16f, 0.2f, 0.28f, 1.0f});
        const depth_range planes = depth_planes(view, box);
        apply_camera(view, planes);
        cull = scene_in_front(view, box, planes);
    }
    tolvex::offscreen_context context{width, height};
    block_set blocks;
    point_list tracers;
    std::vector<scene_part> parts;
    bool cull = false;
};

void immediate(benchmark::State& state) {
    frame_setup setup(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        clear_frame();
        draw_mesh(build_frame_mesh(setup.parts, {}, {}), {}, setup.cull);
        glFinish();
    }
}

void display_list(benchmark::State& state) {
    frame_setup setup(static_cast<int>(state.range(0)));
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    draw_mesh(build_frame_mesh(setup.parts, {}, {}), {}, setup.cull);
    glEndList();
    for (auto _ : state) {
        clear_frame();
        glCallList(list);
        glFinish();
    }
    glDeleteLists(list, 1);
}

void recorded(benchmark::State& state) {
    frame_setup setup(static_cast<int>(state.range(0)));
    const recorded_scene scene = record_scene(build_frame_mesh(setup.parts, {}, {}));
    for (auto _ : state) {
        clear_frame();
        replay_scene(scene, {}, setup.cull);
        glFinish();
    }
    delete_scene(scene);
}

void recording(benchmark::State& state) {
    frame_setup setup(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const recorded_scene scene = record_scene(build_frame_mesh(setup.parts, {}, {}));
        glFinish();
        state.PauseTiming();
        delete_scene(scene);
        state.ResumeTiming();
    }
}

} // namespace

// Frame sizes of 1,000, 10,000 and 50,000 boxes.
void frame_sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
    b->MeasureProcessCPUTime()->UseRealTime();
}

BENCHMARK(immediate)->Apply(frame_sizes);
BENCHMARK(display_list)->Apply(frame_sizes);
BENCHMARK(recorded)->Apply(frame_sizes);
BENCHMARK(recording)->Apply(frame_sizes);

BENCHMARK_MAIN();
