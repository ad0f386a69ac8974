// The slip fit on random layered models: present-day horizons made by a forward run are restored
// to their layers by the slips the fit finds.
#include "geometry/vector_utils.hpp"
#include "model/fit_slips.hpp"
#include "tests/support/layered_model.hpp"
#include "tests/support/present_horizons.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

namespace {

using tolvex::fit_options;
using tolvex::fit_slips;
using tolvex::fit_state;

constexpr double model_size = 2449.49; // the diagonal of the 2000 x 2000 x 1000 box

std::vector<fault> with_slips(std::vector<fault> faults, double factor) {
    for (fault& f : faults)
        f.slip_mag *= factor;
    return faults;
}

// From slips set to zero and from slips half as large or half as large again, the fit finds the
// slips the model was run with and restores every layer flat. A slip the layers cannot tell is
// named in a note and not reported as fitted.
TEST(FitSlips, RecoversTheSlipsOfRandomModelsFromZeroAndFromHalfOff) {
    std::mt19937 rng(31);
    std::uniform_int_distribution<int> fault_count(3, 20), layer_count(2, 5);
    for (int model = 0; model < 20; ++model) {
        const layered_model m =
            random_layered_model(rng, {fault_count(rng), layer_count(rng), 24, 0.0, 0.0});
        const std::vector<horizon> present = present_horizons(m.boundary, m.faults, m.layers);
        for (const double start : {0.0, 0.5, 1.5}) {
            SCOPED_TRACE("model " + std::to_string(model) + ", " + std::to_string(m.faults.size()) +
                         " faults, start " + std::to_string(start));
            const std::vector<fault> given = with_slips(m.faults, start);
            const tolvex::fit_result fit = fit_slips(m.boundary, given, present);
            EXPECT_TRUE(fit.converged) << fit.stop_reason;
            for (std::size_t f = 0; f < m.faults.size(); ++f) {
                const fit_state state = fit.fault_table[f].along_state;
                if (state == fit_state::fitted) {
                    EXPECT_NEAR(fit.faults[f].slip_mag, m.faults[f].slip_mag, 1e-6 * model_size)
                        << m.faults[f].name;
                    continue;
                }
                const std::string name = '"' + m.faults[f].name + '"';
                EXPECT_TRUE(std::any_of(fit.notes.begin(), fit.notes.end(), [&](const auto& note) {
                    return note.find(name) != std::string::npos;
                })) << name;
                if (state == fit_state::unconstrained) {
                    EXPECT_EQ(fit.faults[f].slip_mag, given[f].slip_mag) << name;
                }
            }
            for (const tolvex::horizon_fit& h : fit.horizon_table)
                EXPECT_LT(h.rms_after, 1e-6 * model_size);
        }
    }
}

// Noise of sigma on the elevations: the fit settles, and the standard errors say how far the
// slips may be off.
TEST(FitSlips, StandardErrorsCoverTheTruthUnderNoise) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> fault_count(3, 8), layer_count(2, 5);
    std::normal_distribution<double> noise(0.0, 2.0);
    int within = 0, count = 0;
    for (int model = 0; model < 100; ++model) {
        const layered_model m =
            random_layered_model(rng, {fault_count(rng), layer_count(rng), 16, 0.0, 0.0});
        std::vector<horizon> present = present_horizons(m.boundary, m.faults, m.layers);
        for (horizon& h : present)
            for (vec3& v : h.vertices)
                v[2] += noise(rng);
        const tolvex::fit_result fit = fit_slips(m.boundary, with_slips(m.faults, 0.5), present);
        EXPECT_TRUE(fit.converged) << "model " << model << ": " << fit.stop_reason;
        for (std::size_t f = 0; f < m.faults.size(); ++f) {
            if (fit.fault_table[f].along_state != fit_state::fitted)
                continue;
            ++count;
            within += std::abs(fit.fault_table[f].along - m.faults[f].slip_mag) <=
                      3 * fit.fault_table[f].along_error;
        }
    }
    EXPECT_GE(within, 0.95 * count) << within << " of " << count;
}

// A fault below every layer moves them all alike, and strike-slip moves flat layers within
// themselves: neither is seen, both are named and left as given.
TEST(FitSlips, UnconstrainedComponentsAreReportedAndLeftAsGiven) {
    std::mt19937 rng(3);
    layered_model m = random_layered_model(rng, {2, 3, 20, 0.0, 0.0});
    fault deep;
    deep.name = "deep";
    deep.normal = make_vec3(0.1, 0.0, 1.0);
    deep.point = make_vec3(5000, 8000, -1450);
    deep.slip_dir = make_vec3(-1.0, 0.0, 0.1) / std::sqrt(1.01);
    deep.slip_mag = 40;
    deep.order = 0;
    m.faults.push_back(deep);
    const std::vector<horizon> present = present_horizons(m.boundary, m.faults, m.layers);
    fit_options rake;
    rake.fit_rake = true;
    std::vector<fault> given = with_slips(m.faults, 0.5);
    given.back().slip_mag = 25;
    const tolvex::fit_result fit = fit_slips(m.boundary, given, present, rake);
    ASSERT_TRUE(fit.converged) << fit.stop_reason;
    const tolvex::fault_fit& d = fit.fault_table.back();
    EXPECT_EQ(d.along_state, fit_state::unconstrained);
    EXPECT_EQ(d.across_state, fit_state::unconstrained);
    EXPECT_DOUBLE_EQ(fit.faults.back().slip_mag, 25);
    for (std::size_t f = 0; f + 1 < m.faults.size(); ++f) {
        EXPECT_EQ(fit.fault_table[f].along_state, fit_state::fitted);
        EXPECT_EQ(fit.fault_table[f].across_state, fit_state::unconstrained);
        EXPECT_EQ(fit.fault_table[f].across, 0.0);
        EXPECT_NEAR(fit.faults[f].slip_mag, m.faults[f].slip_mag, 1e-6 * model_size);
    }
    ASSERT_EQ(fit.notes.size(), 4u);
    EXPECT_NE(fit.notes[2].find("\"deep\""), std::string::npos);
}

TEST(FitSlips, RakeRecoversObliqueSlipsInDippingLayers) {
    std::mt19937 rng(12);
    for (int model = 0; model < 6; ++model) {
        const layered_model m = random_layered_model(rng, {4, 3, 24, 8.0, 50.0});
        const std::vector<horizon> present = present_horizons(m.boundary, m.faults, m.layers);
        fit_options rake;
        rake.fit_rake = true;
        std::vector<fault> given = m.faults;
        for (fault& f : given) { // the dip direction, half the length
            const vec3 down = normalize_vector(make_vec3(0, 0, -1) + f.normal[2] * f.normal);
            f.slip_dir = inner_prod(f.slip_dir, down) < 0 ? vec3(-down) : down;
        }
        const tolvex::fit_result fit = fit_slips(m.boundary, with_slips(given, 0.5), present, rake);
        ASSERT_TRUE(fit.converged) << fit.stop_reason;
        for (std::size_t f = 0; f < m.faults.size(); ++f) {
            const vec3 truth = m.faults[f].slip_dir * m.faults[f].slip_mag;
            const vec3 found = fit.faults[f].slip_dir * fit.faults[f].slip_mag;
            EXPECT_LT(norm_2(found - truth), 1e-6 * model_size)
                << "model " << model << " fault " << f;
        }
    }
}

TEST(FitSlips, RefusesWhatItCannotFit) {
    std::mt19937 rng(5);
    const layered_model m = random_layered_model(rng, {3, 2, 8, 0.0, 0.0});
    const auto message = [&](const std::vector<horizon>& horizons, const fit_options& o) {
        try {
            fit_slips(m.boundary, m.faults, horizons, o);
        } catch (const tolvex::fit_error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message({}, {}), "No horizons were given: the fit needs the present-day horizons.");
    std::vector<horizon> far = m.layers;
    for (horizon& h : far)
        for (vec3& v : h.vertices)
            v[2] += 5000;
    EXPECT_EQ(message(far, {}), "None of the horizons lies inside the boundary.");
    fit_options datum;
    datum.datum = tolvex::datum_kind::given;
    datum.elevations["top"] = -700;
    EXPECT_EQ(message(m.layers, datum),
              "The datum names horizon \"top\", which is not among the horizons.");
}

} // namespace
