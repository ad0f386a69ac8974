// Time of cut_block on a box cut by seeded random faults through its interior, carrying tracer
// points (100,000 unless the name says otherwise); reports the blocks produced and the process's
// peak resident memory so far (meaningful for the first benchmark a run selects). Also as a flat
// set on one and two threads, and with every step kept as the viewer keeps it.
#include "geometry/cut_block.hpp"
#include "geometry/horizon_pieces.hpp"
#include "tests/support/box.hpp"
#include "tests/support/grid_horizon.hpp"
#include "tests/support/random_faults.hpp"
#include "view_math/scene_history.hpp"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>
#include <sys/resource.h>

namespace {

double peak_memory_mib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The box with state.range(1) tracers and state.range(0) random faults, all carried by the box.
struct cut_setup {
    explicit cut_setup(const benchmark::State& state) {
        std::mt19937 rng(42);
        faults = random_faults(rng, static_cast<int>(state.range(0)));
        const int tracer_count = static_cast<int>(state.range(1));
        tracers.resize(tracer_count);
        for (vec3& t : tracers)
            t = random_point(rng);
        box = make_box(make_vec3(-10, -10, -5), make_vec3(10, 10, 5));
        for (int k = 0; k < tracer_count; ++k)
            box.tracer_indices.push_back(k);
        for (int k = 0; k < state.range(0); ++k)
            box.fault_indices.push_back(k);
    }
    std::vector<fault> faults;
    point_list tracers;
    block box;
};

// Times cut(box, faults, tracers), which returns the number of blocks, on fresh copies of the
// faults and tracers each time (cutting moves them in place).
template <class Cut> void time_cut(benchmark::State& state, Cut&& cut) {
    const cut_setup setup(state);
    std::size_t blocks = 0;
    for (auto _ : state) {
        std::vector<fault> run_faults = setup.faults;
        point_list run_tracers = setup.tracers;
        blocks = cut(setup.box, run_faults, run_tracers);
    }
    state.counters["blocks"] = static_cast<double>(blocks);
    state.counters["peak_MiB"] = peak_memory_mib();
}

// Arguments: fault count, tracer count.
void cut_box(benchmark::State& state) {
    time_cut(state, [](const block& box, std::vector<fault>& faults, point_list& tracers) {
        const std::vector<block> out = cut_block({box}, faults, tracers);
        benchmark::DoNotOptimize(out.data());
        return out.size();
    });
}

// The same returning the flat set, on up to state.range(2) threads; real time, since the helper
// threads' CPU time does not count in the caller's.
void cut_box_set(benchmark::State& state) {
    const auto threads = static_cast<unsigned>(state.range(2));
    time_cut(state, [threads](const block& box, std::vector<fault>& faults, point_list& tracers) {
        const block_set out = cut_block_set({box}, faults, tracers, {}, threads);
        benchmark::DoNotOptimize(out.vertices.data());
        return block_count(out);
    });
}

// The same, keeping every step for the viewer as plot does, from the flat run's step reports;
// counts the blocks the steps pass and the shapes kept for them.
void cut_box_keeping_steps(benchmark::State& state) {
    const cut_setup setup(state);
    std::size_t passed = 0, shapes = 0;
    for (auto _ : state) {
        std::vector<fault> run_faults = setup.faults;
        point_list run_tracers = setup.tracers;
        scene_history history;
        append_history_step(history, {setup.box}, run_tracers, "");
        passed = 1;
        const std::vector<horizon> no_horizons;
        const cut_step_observer keep = [&](const cut_step& step, const std::vector<fault>&,
                                           const point_list& moved) {
            append_history_step(history,
                                {tolvex::run_kind::forward, history.steps.size(),
                                 setup.faults.size(), nullptr, nullptr, &step, moved, no_horizons},
                                "");
            passed += step.block_count;
        };
        const block_set out = cut_block_set({setup.box}, run_faults, run_tracers, {}, 0, keep);
        shapes = block_count(history.kept.shapes);
        benchmark::DoNotOptimize(out.vertices.data());
    }
    state.counters["passed"] = static_cast<double>(passed);
    state.counters["shapes"] = static_cast<double>(shapes);
}

// The pieces of the grid horizon in the blocks state.range(0) faults leave, on up to
// state.range(1) threads; reports the pieces and the bytes each takes.
void horizon_pieces_in_box(benchmark::State& state) {
    const cut_setup setup(state);
    std::vector<fault> faults = setup.faults;
    point_list tracers;
    block box = setup.box;
    box.tracer_indices.clear();
    const block_set blocks = cut_block_set({box}, faults, tracers);
    // A 200 x 200 grid (80,000 triangles), gently folded, across the whole box.
    const std::vector<horizon> horizons{grid_horizon(
        "grid", -10, -10, 20, 200, [](double x, double y) { return 0.1 * x + std::sin(0.5 * y); })};
    const auto threads = static_cast<unsigned>(state.range(1));
    std::size_t pieces = 0, bytes = 0;
    for (auto _ : state) {
        const horizon_pieces out = pieces_in_blocks(blocks, horizons, threads);
        pieces = out.polygons.size();
        bytes = out.polygons.corners.size() * sizeof(xyz) +
                out.polygons.size() * (sizeof(std::size_t) + 3 * sizeof(int));
        benchmark::DoNotOptimize(out.polygons.corners.data());
    }
    state.counters["blocks"] = static_cast<double>(block_count(blocks));
    state.counters["pieces"] = static_cast<double>(pieces);
    state.counters["bytes_per_piece"] = static_cast<double>(bytes) / static_cast<double>(pieces);
}

} // namespace

// Arguments: fault count, threads.
BENCHMARK(horizon_pieces_in_box)
    ->ArgsProduct({{30, 100}, {1, 2}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(cut_box)
    ->Args({10, 100000})
    ->Args({30, 100000})
    ->Args({100, 100000})
    ->Args({200, 100000})
    ->Unit(benchmark::kMillisecond);

// Arguments: fault count, tracer count, threads.
BENCHMARK(cut_box_set)
    ->ArgsProduct({{30, 100, 200}, {100000}, {1, 2}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(cut_box_keeping_steps)
    ->Args({10, 100000})
    ->Args({30, 100000})
    ->Args({100, 100000})
    ->Unit(benchmark::kMillisecond);

// How the time grows with faults and with tracers.
BENCHMARK(cut_box)
    ->Name("cut_box_scaling")
    ->ArgsProduct({{10, 30, 100, 300}, {10000, 100000, 1000000}})
    ->Args({10, 10000000})
    ->Args({100, 10000000})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
