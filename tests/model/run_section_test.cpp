// Horizon traces of random sections: every segment lies, back in the model, on a piece of its own
// horizon in the step's blocks, as the run itself found them, and no segment comes twice, also
// where the plane runs along the horizons' triangle sides.
#include "formats/boundary_file.hpp"
#include "model/model_run.hpp"
#include "model/run_section.hpp"
#include "tests/support/box.hpp"
#include "tests/support/grid_horizon.hpp"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <random>
#include <tuple>

using namespace tolvex;

namespace {

// Over the map square [x0, x0 + size]^2 on an n x n grid, each cell two triangles; tilted and
// folded by rng, by less than 0.5 within the box below.
horizon grid_surface(std::mt19937& rng, double x0, double size, int n, double z) {
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    const double tilt = 0.05 * u(rng), fold = 0.2 * u(rng);
    return grid_horizon("h" + std::to_string(z), x0, x0, size, n,
                        [&](double x, double) { return z + tilt * (x - x0) + fold * std::sin(x); });
}

// n faults, youngest first, through the box [11, 15]^2 x [-3, 0] at random, with random slips.
std::vector<fault> random_faults(std::mt19937& rng, std::size_t n) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<fault> faults(n);
    for (std::size_t k = 0; k < n; ++k) {
        fault& f = faults[k];
        f.id = static_cast<int>(n - k);
        set_order(f, f.id);
        f.point = make_vec3(11 + 4 * u(rng), 11 + 4 * u(rng), -3 * u(rng));
        f.normal = make_vec3(u(rng) - 0.5, u(rng) - 0.5, 0.3 + u(rng));
        f.slip_dir = make_vec3(u(rng) - 0.5, u(rng) - 0.5, u(rng) - 0.5);
        f.slip_mag = 0.5 * u(rng);
    }
    return faults;
}

// Whether x lies on the flat convex polygon within tolerance.
bool on_polygon(std::span<const xyz> polygon, const xyz& x, double tolerance) {
    xyz n{0, 0, 0};
    for (std::size_t i = 1; i + 1 < polygon.size(); ++i) {
        const xyz c = cross(minus(polygon[i], polygon[0]), minus(polygon[i + 1], polygon[0]));
        for (int k = 0; k < 3; ++k)
            n[k] += c[k];
    }
    const double length = std::sqrt(dot(n, n));
    if (!(length > 0.0) || std::abs(dot(n, minus(x, polygon[0]))) > tolerance * length)
        return false;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const xyz side = minus(polygon[(i + 1) % polygon.size()], polygon[i]);
        if (dot(cross(side, minus(x, polygon[i])), n) <
            -tolerance * std::sqrt(dot(side, side)) * length)
            return false;
    }
    return true;
}

} // namespace

TEST(RunSection, HorizonTracesLieOnPiecesOfTheirHorizonOnce) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double x0 = 10.0, size = 6.0; // the box spans [11, 15]^2 in the map, [-3, 0] in z
    const block boundary =
        parse_boundary_text(box_boundary(make_vec3(11, 11, -3), make_vec3(15, 15, 0)), "box");
    std::size_t traces = 0;
    for (int model = 0; model < 16; ++model) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        std::vector<horizon> horizons;
        for (double z : {-0.5, -1.5, -2.5})
            horizons.push_back(grid_surface(rng, x0, size, 12, z));
        const std::vector<fault> faults = random_faults(rng, 1 + model % 4);
        std::map<std::pair<run_kind, std::size_t>, horizon_pieces> pieces;
        const model_result result = run_model(boundary, faults, {},
                                              {.on_step =
                                                   [&](const run_step& s) {
                                                       pieces[{s.run, s.step}] = *s.horizons;
                                                   },
                                               .horizons = horizons});
        // Along a grid line (the plane holds triangle sides), through a grid vertex, or anywhere.
        const int kind = model % 3;
        const double grid = x0 + size * static_cast<int>(3 + 6 * u(rng)) / 12;
        const double turn = 6.3 * u(rng);
        const section_line line =
            kind == 0   ? section_line{grid, 9, grid, 17}
            : kind == 1 ? section_line{grid, grid, grid + std::cos(turn), grid + std::sin(turn)}
                        : section_line{9, 11 + 4 * u(rng), 17, 11 + 4 * u(rng)};
        const double length = std::hypot(line.x1 - line.x0, line.y1 - line.y0);
        for (const auto& [key, step_pieces] : pieces) {
            const section s =
                run_section(result, faults, {}, key.first, key.second, {path_of(line), {}});
            ASSERT_EQ(s.horizon_names.size(), horizons.size());
            traces += s.horizon_traces.size();
            // Unfaulted, every horizon crosses the box wherever the plane does.
            std::vector<bool> met(horizons.size(), key.second > 0);
            for (const section_trace& trace : s.horizon_traces)
                met[static_cast<std::size_t>(trace.which)] = true;
            EXPECT_EQ(std::count(met.begin(), met.end(), false), 0) << "step 0";
            const auto model_point = [&](const section_point& p) {
                const double t = p[0] / length;
                return xyz{line.x0 + t * (line.x1 - line.x0) - result.centre[0],
                           line.y0 + t * (line.y1 - line.y0) - result.centre[1],
                           p[1] - result.centre[2]};
            };
            for (std::size_t t = 0; t < s.horizon_traces.size(); ++t) {
                const section_trace& trace = s.horizon_traces[t];
                for (const section_point& end : {trace.a, trace.b}) {
                    const xyz x = model_point(end);
                    bool found = false;
                    for (std::size_t p = 0; p < step_pieces.polygons.size() && !found; ++p)
                        found = step_pieces.horizon[p] == trace.which &&
                                on_polygon(step_pieces.polygons.polygon(p), x, 1e-9 * size);
                    ASSERT_TRUE(found) << "step " << key.second << " trace " << t;
                }
                for (std::size_t o = 0; o < t; ++o) {
                    const section_trace& other = s.horizon_traces[o];
                    const auto same = [](const section_point& a, const section_point& b) {
                        return std::hypot(a[0] - b[0], a[1] - b[1]) < 1e-9;
                    };
                    ASSERT_FALSE(other.which == trace.which &&
                                 ((same(other.a, trace.a) && same(other.b, trace.b)) ||
                                  (same(other.a, trace.b) && same(other.b, trace.a))))
                        << "step " << key.second << " traces " << o << " and " << t;
                }
            }
        }
    }
    EXPECT_GT(traces, 2000u);
}

// Lines shorter than the box in every direction: the section spans the line itself, from 0 to
// its length, and in both runs a fault trace names the fault it lies on by its place in the
// loaded list. The faults are vertical with vertical slip, so their planes stay where they are.
TEST(RunSection, SpansTheLineItselfAndNamesFaultsByTheirPlaceAsLoaded) {
    const block boundary =
        parse_boundary_text(box_boundary(make_vec3(0, 0, -5), make_vec3(10, 10, 0)), "box");
    std::vector<fault> faults(2);
    for (std::size_t k = 0; k < 2; ++k) {
        fault& f = faults[k];
        f.id = static_cast<int>(2 - k);
        set_order(f, f.id);
        f.point = make_vec3(k == 0 ? 3 : 5, k == 0 ? 5 : 6, -2);
        f.normal = make_vec3(k == 0 ? 1 : 0, k == 0 ? 0 : 1, 0);
        f.slip_dir = make_vec3(0, 0, 1);
        f.slip_mag = 0.5 + k;
    }
    const model_result result = run_model(boundary, faults, {});
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> in_box(0.5, 9.5);
    std::size_t traces = 0;
    for (int trial = 0; trial < 40; ++trial) {
        const section_line line{in_box(rng), in_box(rng), in_box(rng), in_box(rng)};
        const double length = length_of(line);
        if (length < 1.0)
            continue;
        for (const run_kind run : {run_kind::restoration, run_kind::forward}) {
            SCOPED_TRACE(testing::Message() << "trial " << trial << " run " << int(run));
            const section s = run_section(result, faults, {}, run, 2, {path_of(line), {}});
            double low = INFINITY, high = -INFINITY;
            for (const section_polygon& p : s.blocks)
                for (const section_point& c : p.corners) {
                    low = std::min(low, c[0]);
                    high = std::max(high, c[0]);
                }
            EXPECT_NEAR(low, 0.0, 1e-9 * length);
            EXPECT_NEAR(high, length, 1e-9 * length);
            for (const section_trace& t : s.fault_traces) {
                ++traces;
                const double u = (t.a[0] + t.b[0]) / 2;
                EXPECT_TRUE(t.a[0] >= 0 && t.b[0] >= 0 && t.a[0] <= length && t.b[0] <= length);
                const double x = line.x0 + u / length * (line.x1 - line.x0);
                const double y = line.y0 + u / length * (line.y1 - line.y0);
                EXPECT_NEAR(t.which == 0 ? x : y, t.which == 0 ? 3.0 : 6.0, 1e-9) << t.which;
            }
        }
    }
    EXPECT_GT(traces, 20u);
}

// A bent line's section is its segments' sections side by side: each segment's polygons, traces
// and tracers are those of the segment cut alone, shifted by the distance to its start, so a
// block that continues across a bend is two polygons with one number.
TEST(RunSection, BentLineIsItsSegmentsSideBySide) {
    std::mt19937 rng(23);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const block boundary =
        parse_boundary_text(box_boundary(make_vec3(11, 11, -3), make_vec3(15, 15, 0)), "box");
    std::size_t compared = 0, bends_crossed = 0;
    for (int model = 0; model < 12; ++model) {
        SCOPED_TRACE(testing::Message() << "model " << model);
        std::vector<horizon> horizons;
        for (double z : {-0.8, -2.2})
            horizons.push_back(grid_surface(rng, 10.0, 6.0, 8, z));
        const std::vector<fault> faults = random_faults(rng, 1 + model % 3);
        point_list tracers; // about the box's centre
        for (int t = 0; t < 300; ++t)
            tracers.push_back(make_vec3(4 * u(rng) - 2, 4 * u(rng) - 2, 3 * u(rng) - 1.5));
        const model_result result = run_model(boundary, faults, tracers, {.horizons = horizons});
        section_path path; // some points outside the box
        for (int k = 0; k < 2 + model % 4; ++k)
            path.points.push_back({10 + 6 * u(rng), 10 + 6 * u(rng)});
        const std::vector<double> starts = distances_of(path);
        const section_request whole_line{path, 0.1};
        for (const run_kind run : {run_kind::restoration, run_kind::forward})
            for (const std::size_t step : {std::size_t{0}, faults.size()}) {
                SCOPED_TRACE(testing::Message() << "run " << int(run) << " step " << step);
                std::optional<section> whole;
                try {
                    whole = run_section(result, faults, tracers, run, step, whole_line);
                } catch (const section_error&) {
                }
                std::size_t blocks = 0, faults_at = 0, horizons_at = 0, tracers_at = 0;
                for (std::size_t k = 0; k + 1 < path.points.size(); ++k) {
                    section part;
                    try {
                        part = run_section(result, faults, tracers, run, step,
                                           {path_of(segment_of(path, k)), 0.1});
                    } catch (const section_error&) {
                        continue;
                    }
                    ASSERT_TRUE(whole);
                    const double start = starts[k];
                    const auto same = [&](const section_point& w, const section_point& p) {
                        return w[0] == p[0] + start && w[1] == p[1];
                    };
                    for (const section_polygon& p : part.blocks) {
                        ASSERT_LT(blocks, whole->blocks.size());
                        const section_polygon& w = whole->blocks[blocks++];
                        EXPECT_EQ(w.block, p.block);
                        ASSERT_EQ(w.corners.size(), p.corners.size());
                        for (std::size_t c = 0; c < p.corners.size(); ++c)
                            EXPECT_TRUE(same(w.corners[c], p.corners[c])) << c;
                        bends_crossed +=
                            k > 0 && std::any_of(p.corners.begin(), p.corners.end(),
                                                 [](const section_point& c) { return c[0] == 0; });
                    }
                    for (auto [mine, theirs, at] :
                         {std::tuple{&part.fault_traces, &whole->fault_traces, &faults_at},
                          std::tuple{&part.horizon_traces, &whole->horizon_traces, &horizons_at}})
                        for (const section_trace& t : *mine) {
                            ASSERT_LT(*at, theirs->size());
                            const section_trace& w = (*theirs)[(*at)++];
                            EXPECT_EQ(w.which, t.which);
                            EXPECT_TRUE(same(w.a, t.a) && same(w.b, t.b));
                        }
                    for (const section_tracer& t : part.tracers) {
                        ASSERT_LT(tracers_at, whole->tracers.size());
                        const section_tracer& w = whole->tracers[tracers_at++];
                        EXPECT_EQ(w.tracer, t.tracer);
                        EXPECT_TRUE(same(w.at, t.at));
                    }
                    ++compared;
                }
                if (!whole)
                    continue;
                EXPECT_EQ(blocks, whole->blocks.size());
                EXPECT_EQ(faults_at, whole->fault_traces.size());
                EXPECT_EQ(horizons_at, whole->horizon_traces.size());
                EXPECT_EQ(tracers_at, whole->tracers.size());
            }
    }
    EXPECT_GT(compared, 80u);
    EXPECT_GT(bends_crossed, 20u);
}
