// "&Fit Slips…" on the bundled example: the graben's present-day layers, fitted from half its
// slips.
#include "tests/app/desktop_test_support.hpp"

#include "config/tolvex_conf.hpp"
#include "formats/boundary_file.hpp"
#include "formats/horizon_file.hpp"
#include "io/file_paths.hpp"
#include "tests/support/present_horizons.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"

#include <QAction>

#include <gtest/gtest.h>

using namespace tolvex;
using namespace tolvex::test;

// Nothing changes until the user confirms the fit; then the loaded faults carry its slips.
TEST(form1_fit_slips, fits_the_loaded_slips_to_the_horizon_file_on_ok_only) {
    fake_desktop_ui ui;
    Form1 form(ui);
    desktop_document& doc = form.document();
    const auto fit = [&form] { find<QAction>(form, "mi_fit_slips")->trigger(); };

    fit(); // no faults loaded
    ui.open_answer = join_path(TOLVEX_EXAMPLES, "graben.efd");
    find<QAction>(form, "mi_open")->trigger();
    doc.settings.folder = TOLVEX_EXAMPLES;
    doc.settings.boundary_file = "box.boundary";
    doc.settings.tracer_file = "layers.tracers";
    doc.settings.horizon_file.clear();
    fit(); // no horizon file
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[0].text.find("open a fault file"), std::string::npos);
    EXPECT_NE(ui.messages[1].text.find("HORIZON_FILE="), std::string::npos);

    const std::vector<fault> truth = doc.faults_loaded;
    temp_folder dir;
    const block boundary = *read_boundary_file(join_path(TOLVEX_EXAMPLES, "box.boundary"));
    write_text(dir.file("present.ts"),
               horizons_to_tsurf(present_horizons(
                   boundary, truth, read_horizon_file(join_path(TOLVEX_EXAMPLES, "horizons.ts")))));
    doc.settings.horizon_file = dir.file("present.ts");
    for (fault& f : doc.faults_loaded)
        f.slip_mag /= 2;

    fit(); // cancelled
    ASSERT_EQ(ui.fit_tables.size(), 1u);
    ASSERT_EQ(ui.fit_tables[0].faults.size(), truth.size() + 1);
    EXPECT_EQ(ui.fit_tables[0].faults[1][3], "fitted");
    EXPECT_EQ(doc.faults_loaded[0].slip_mag, truth[0].slip_mag / 2);

    ui.fit_answer = true;
    fit();
    EXPECT_EQ(ui.messages.size(), 2u);
    ASSERT_EQ(doc.faults_loaded.size(), truth.size());
    for (std::size_t f = 0; f < truth.size(); ++f)
        EXPECT_NEAR(doc.faults_loaded[f].slip_mag, truth[f].slip_mag, 1e-3) << truth[f].name;
}
