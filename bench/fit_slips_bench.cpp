// Time of one slip fit: 20 seeded random faults and five present-day horizons made by a forward
// run from layers of 20,000 triangles each, fitted from half their slips. Reports the
// restorations per fit and the time per restoration.
#include "model/fit_slips.hpp"
#include "tests/support/layered_model.hpp"
#include "tests/support/present_horizons.hpp"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

void fit_20_faults(benchmark::State& state) {
    std::mt19937 rng(20);
    const layered_model m = random_layered_model(rng, {20, 5, 100, 0.0, 0.0});
    const std::vector<horizon> present = present_horizons(m.boundary, m.faults, m.layers);
    std::vector<fault> start = m.faults;
    for (fault& f : start)
        f.slip_mag *= 0.5;
    std::size_t triangles = 0;
    for (const horizon& h : present)
        triangles += h.triangles.size();
    tolvex::fit_result fit;
    double seconds = 0.0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        fit = tolvex::fit_slips(m.boundary, start, present);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        benchmark::DoNotOptimize(fit.faults.data());
    }
    const double fits = static_cast<double>(state.iterations());
    state.counters["restorations_per_fit"] = static_cast<double>(fit.restorations);
    state.counters["seconds_per_restoration"] =
        seconds / fits / static_cast<double>(fit.restorations);
    state.counters["present_triangles"] = static_cast<double>(triangles);
    state.counters["converged"] = fit.converged ? 1 : 0;
}
BENCHMARK(fit_20_faults)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
