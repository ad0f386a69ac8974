// Faults in a geologist's terms: angles and vectors agree, fault tables, and both file forms
// written and read back.
#include "formats/fault_file.hpp"
#include "formats/fault_table.hpp"
#include "formats/horizon_file.hpp"
#include "model/fault_orientation.hpp"
#include "model/model_run.hpp"
#include "model/plane_fit.hpp"
#include "tests/support/box.hpp"
#include "tests/support/error_text.hpp"
#include "tests/support/random_faults.hpp"

#include <boost/numeric/ublas/vector.hpp>
#include <gtest/gtest.h>
#include <random>

using namespace tolvex;
namespace ublas = boost::numeric::ublas;

namespace {

// The warnings of reading text as a fault data file.
std::vector<std::string> read_warnings(const std::string& text) {
    std::vector<std::string> out;
    parse_fault_text(text, "w.efd", [&](const std::string& w) { out.push_back(w); });
    return out;
}

std::string efd_line(double plane_az, double dip, double slip_az, double plunge) {
    // A normal fault dipping 60 degrees east, moving its hanging wall down the dip.
    return "n\t" + std::to_string(plane_az) + "\t" + std::to_string(dip) + "\t" +
           std::to_string(slip_az) + "\t" + std::to_string(plunge) +
           "\tNF\t1\t10\t0.5\t0\t-0.8660254037844386\t0.8660254037844386\t0\t0.5\t0\t0\t0\t1\n";
}

// Tracers of a grid through the 20 x 20 x 10 box the random faults cut.
point_list grid_tracers() {
    point_list out;
    for (int i = -9; i <= 9; i += 3)
        for (int j = -9; j <= 9; j += 3)
            for (int k = -4; k <= 4; k += 2)
                out.push_back(make_vec3(i, j, k));
    return out;
}

std::vector<fault> random_table_faults(std::mt19937& rng, int count) {
    std::uniform_real_distribution<double> az(0, 360), dip(0, 90), rake(-180, 180), slip(0.1, 1);
    std::vector<fault> out;
    for (int k = 0; k < count; ++k) {
        fault_terms t;
        t.id = k;
        t.name = k % 2 ? "f, \"" + std::to_string(k) + "\"" : "f" + std::to_string(k);
        t.sequence = k % 3;
        t.point = random_point(rng);
        t.dip_direction = az(rng);
        t.dip = dip(rng);
        t.rake = rake(rng);
        t.slip = slip(rng);
        out.push_back(fault_from_terms(t));
    }
    return out;
}

} // namespace

TEST(FaultOrientation, AnglesAndVectorsConvertBothWaysAndSlipsLieInThePlane) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> az(0, 359.9), dip(0.1, 89.9), rake(-179.9, 179.9);
    for (int k = 0; k < 500; ++k) {
        const double a = az(rng), d = dip(rng), r = rake(rng);
        const vec3 n = plane_normal(a, d);
        const std::array<double, 2> back = plane_angles_of(n);
        EXPECT_NEAR(back[0], a, 1e-9);
        EXPECT_NEAR(back[1], d, 1e-9);
        EXPECT_EQ(plane_angles_of(-n), back);
        const vec3 s = rake_vector(a, d, r);
        EXPECT_NEAR(ublas::inner_prod(s, n), 0.0, 1e-12);
        EXPECT_NEAR(ublas::norm_2(s), 1.0, 1e-12);
        EXPECT_NEAR(rake_of(s, a, d), r, 1e-9);
        const std::array<double, 2> sa = slip_angles_of(s);
        EXPECT_LT(angle_between(slip_vector(sa[0], sa[1]), s), 1e-9);
    }
    // Rake -90 moves the hanging wall straight down the dip, +90 straight up.
    EXPECT_LT(angle_between(rake_vector(90, 60, -90), slip_vector(90, 60)), 1e-9);
    EXPECT_LT(angle_between(rake_vector(90, 60, 90), slip_vector(270, -60)), 1e-9);
}

TEST(FaultOrientation, AWarningNamesTheLineWhenAnglesAreMoreThanHalfADegreeOff) {
    EXPECT_TRUE(read_warnings(efd_line(90, 60, 90, 60)).empty());
    EXPECT_TRUE(read_warnings(efd_line(90, 60.4, 90, 60.4)).empty());
    const std::vector<std::string> plane = read_warnings("#\n" + efd_line(90, 60.6, 90, 60));
    ASSERT_EQ(plane.size(), 1u);
    EXPECT_EQ(plane[0].rfind("w.efd:2: plane azimuth/inclination 90/60.6 and normal (0.866025, 0, "
                             "0.5) (90/60) are 0.6 degrees apart",
                             0),
              0u)
        << plane[0];
    const std::vector<std::string> slip = read_warnings(efd_line(90, 60, 90, 60.6));
    ASSERT_EQ(slip.size(), 1u);
    EXPECT_NE(slip[0].find("slip azimuth/plunge 90/60.6 and slip direction (0.5, 0, -0.866025) "
                           "(90/60) are 0.6 degrees apart"),
              std::string::npos)
        << slip[0];
    EXPECT_NE(slip[0].find("the run uses the vectors"), std::string::npos);
}

TEST(FaultTable, ColumnsInAnyOrderGiveTheFaultInTheHangingWallsTerms) {
    const std::string table = "# graben\n"
                              "Slip,Dip,dip_direction,rake,x,y,z,sequence,id,name,note\n"
                              "150,60,90,-90,4700,8750,-900,1,101,west_border,x\n"
                              "\"100\",90,0,0,1,2,3,2,102,,\n";
    const std::vector<fault> faults = parse_fault_table(table, "t.csv");
    ASSERT_EQ(faults.size(), 2u);
    const fault& west = faults[1];
    EXPECT_EQ(west.name, "west_border");
    EXPECT_LT(angle_between(west.normal, make_vec3(0.8660254, 0, 0.5)), 1e-5);
    EXPECT_LT(angle_between(-west.slip_dir, make_vec3(0.5, 0, -0.8660254)), 1e-5);
    EXPECT_EQ(west.slip_mag, 150.0);
    EXPECT_NEAR(west.slip_angles[0], 90.0, 1e-9);
    EXPECT_NEAR(west.slip_angles[1], 60.0, 1e-9);
    // A vertical fault's normal points along its dip direction; rake 0 moves it along the strike.
    const fault& vertical = faults[0];
    EXPECT_EQ(vertical.name, "fault 102");
    EXPECT_LT(angle_between(vertical.normal, make_vec3(0, 1, 0)), 1e-9);
    EXPECT_LT(angle_between(-vertical.slip_dir, make_vec3(-1, 0, 0)), 1e-9);
}

TEST(FaultTable, BadCellsNameTheLineAndColumnAndOffPlaneSlipsAreProjectedOrRefused) {
    const std::string head = "id,sequence,x,y,z,dip_direction,dip,slip_azimuth,slip_plunge,slip\n";
    const auto reason = [](const std::string& text) {
        return error_text([&] { parse_fault_table(text, "t.csv"); });
    };
    EXPECT_EQ(reason("id,sequence,x,y,z,dip,rake,slip\n"),
              "t.csv:1: the header has no column \"dip_direction\"");
    EXPECT_EQ(reason(head + "1,1,0,0,0,90,60,90,6o,1\n"),
              "t.csv:2: column \"slip_plunge\": \"6o\" is not a number");
    EXPECT_EQ(reason(head + "1,1,0,0,0,90,95,90,60,1\n"),
              "t.csv:2: column \"dip\": 95 is outside 0 to 90");
    EXPECT_EQ(reason(head + "1,1,0,0,0,90,60,90,60\n"),
              "t.csv:2: 9 cells, but the header names 10 columns");
    EXPECT_EQ(reason(head + "1,1,0,0,0,90,60,90,60.6,1\n"),
              "t.csv:2: column \"slip_plunge\": slip azimuth/plunge 90/60.6 lies 0.6 degrees out "
              "of the plane 90/60; at most 0.5 is taken as rounding");
    std::vector<std::string> warnings;
    const auto warn = [&](const std::string& w) { warnings.push_back(w); };
    parse_fault_table(head + "1,1,0,0,0,90,60,90,60.04,1\n", "t.csv", warn);
    EXPECT_TRUE(warnings.empty());
    const std::vector<fault> projected =
        parse_fault_table(head + "1,1,0,0,0,90,60,90,60.1,1\n", "t.csv", warn);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("t.csv:2: slip azimuth/plunge 90/60.1 lies 0.1 degrees", 0), 0u);
    EXPECT_NEAR(ublas::inner_prod(projected[0].slip_dir, projected[0].normal), 0.0, 1e-15);
}

TEST(FaultFiles, BothFormsWrittenAndReadBackKeepTheModel) {
    std::mt19937 rng(11);
    std::vector<fault> any = random_faults(rng, 40);
    for (std::size_t k = 0; k < any.size(); ++k) {
        any[k].name = "r" + std::to_string(k);
        any[k].id = static_cast<int>(k);
        set_order(any[k], any[k].id);
    }
    // The fault data file holds every fault exactly, whatever its normal and slip.
    std::vector<fault> sorted = any;
    std::stable_sort(sorted.begin(), sorted.end(), sortobj_descending());
    const std::vector<fault> efd = parse_fault_text(fault_file_text(sorted), "f.efd");
    ASSERT_EQ(efd.size(), sorted.size());
    for (std::size_t k = 0; k < efd.size(); ++k) {
        EXPECT_EQ(efd[k].name, sorted[k].name);
        EXPECT_TRUE(ublas::norm_inf(efd[k].slip_dir - sorted[k].slip_dir) == 0.0);
        EXPECT_TRUE(ublas::norm_inf(efd[k].normal - sorted[k].normal) == 0.0);
        EXPECT_TRUE(ublas::norm_inf(efd[k].point - sorted[k].point) == 0.0);
        EXPECT_EQ(efd[k].slip_mag, sorted[k].slip_mag);
    }
    // A table holds faults in the hanging wall's terms; through a table and a data file and
    // back, a run gives the same tracers to the printed eight decimals.
    std::vector<fault> table = random_table_faults(rng, 12);
    std::stable_sort(table.begin(), table.end(), sortobj_descending());
    const std::vector<fault> back = parse_fault_table(
        fault_table_text(parse_fault_text(fault_file_text(table), "f.efd")), "t.csv");
    ASSERT_EQ(back.size(), table.size());
    const block box = make_box(make_vec3(-10, -10, -5), make_vec3(10, 10, 5));
    const point_list tracers = grid_tracers();
    const model_result a = run_model(box, table, tracers, {.keep = {false, false}});
    const model_result b = run_model(box, back, tracers, {.keep = {false, false}});
    EXPECT_EQ(a.forward.block_count, b.forward.block_count);
    for (std::size_t k = 0; k < tracers.size(); ++k)
        EXPECT_LT(ublas::norm_inf(a.forward.tracers[k] - b.forward.tracers[k]), 5e-9) << k;
}

TEST(FaultFiles, AFormThatCannotHoldAFaultRefusesItByName) {
    fault down;
    down.name = "d";
    down.normal = make_vec3(0, 0, -1);
    EXPECT_EQ(error_text<output_error>([&] {
                  faults_text_for("t.csv", {down});
              }).rfind("t.csv: fault \"d\"", 0),
              0u);
    down.name = "";
    EXPECT_EQ(error_text<output_error>([&] {
                  faults_text_for("t.efd", {down});
              }).rfind("t.efd: fault 0", 0),
              0u);
}

TEST(FaultPlaneFit, PlanarSurfacesGiveTheirPlaneAndACommunityModelFaultItsOwnWithinItsMisfit) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> az(0, 360), dip(1, 89), u(-500, 500);
    for (int k = 0; k < 100; ++k) {
        const vec3 n = plane_normal(az(rng), dip(rng));
        const vec3 s = rake_vector(plane_angles_of(n)[0], plane_angles_of(n)[1], 0);
        const vec3 d = rake_vector(plane_angles_of(n)[0], plane_angles_of(n)[1], 90);
        horizon h{"h", {}, {}};
        for (int v = 0; v < 12; ++v)
            h.vertices.push_back(make_vec3(5e5, 4e6, -2e3) + u(rng) * s + u(rng) * d);
        for (int t = 0; t + 2 < 12; ++t)
            h.triangles.push_back({t, t + 1, t + 2});
        const std::optional<plane_fit> fit = fit_fault_plane(h);
        ASSERT_TRUE(fit);
        EXPECT_LT(angle_between(fit->normal, n), 1e-6);
        EXPECT_LT(fit->largest, 1e-6);
    }
    // A fault as community fault models give them: UTM metres, PVRTX with a depth property,
    // BSTONE and BORDER lines; its vertices lie within 15 m of the plane 45/60.
    const std::vector<horizon> surfaces =
        read_horizon_file(std::string(TOLVEX_TEST_DATA) + "/community_fault.ts");
    ASSERT_EQ(surfaces.size(), 1u);
    EXPECT_EQ(surfaces[0].name, "Example Fault (EXFT)");
    const fault_planes planes = fit_fault_surfaces(surfaces, "c.ts", std::nullopt);
    const plane_fit& fit = planes.at("Example Fault (EXFT)");
    EXPECT_NEAR(plane_angles_of(fit.normal)[0], 45.0, 0.2);
    EXPECT_NEAR(plane_angles_of(fit.normal)[1], 60.0, 0.2);
    EXPECT_LE(fit.largest, 15.0);
    EXPECT_LT(fit.rms, fit.largest);
    EXPECT_EQ(error_text([&] {
                  fit_fault_surfaces(surfaces, "c.ts", 10.0);
              }).rfind("c.ts: surface \"Example Fault (EXFT)\" lies up to ", 0),
              0u);
    // A table then gives only the slip and the sequence.
    const std::vector<fault> faults = parse_fault_table(
        "id,name,sequence,rake,slip\n7,Example Fault (EXFT),1,-90,100\n", "t.csv", {}, &planes);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_LT(angle_between(faults[0].normal, fit.normal), 1e-9);
    EXPECT_EQ(error_text([&] {
                  parse_fault_table("id,name,sequence,rake,slip\n7,other,1,-90,100\n", "t.csv", {},
                                    &planes);
              }),
              "t.csv:2: no fault surface is named \"other\", and the table has no column "
              "\"dip_direction\"");
}
