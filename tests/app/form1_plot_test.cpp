// plot: the labels, the messages of a run that cannot go on, and the hand-over to the viewer.
// The run reads its files from the executable's folder, so the test puts them there.
#include "tests/app/desktop_test_support.hpp"

#include "config/tolvex_conf.hpp"
#include "io/file_paths.hpp"
#include "tests/support/box.hpp"
#include "tests/support/fault_line.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace tolvex;
using namespace tolvex::test;

namespace {

const std::string cube_boundary =
    "# a 100 x 100 x 100 cube\n" + box_boundary(make_vec3(0, 0, 0), make_vec3(100, 100, 100));

class form1_plot : public ::testing::Test {
  protected:
    void SetUp() override {
        write_text(files.file("cube.boundary"), cube_boundary);
        write_text(files.file("points.tracers"), "# x, y, z\n0.1, 0.2, 0.3\n");
        configure("cube.boundary", "points.tracers");
    }

    // Names as the configuration gives them: relative to the executable's folder.
    void configure(const std::string& boundary, const std::string& tracer) {
        tolvex_conf& conf = form.document().settings;
        conf.boundary_file = files.path().filename().string() + "/" + boundary;
        conf.tracer_file = files.path().filename().string() + "/" + tracer;
    }
    void plot() { find<QPushButton>(form, "btn_plot")->click(); }
    bool plot_enabled() { return find<QPushButton>(form, "btn_plot")->isEnabled(); }
    std::string label(const char* name) { return find<QLabel>(form, name)->text().toStdString(); }

    temp_folder files{executable_dir()};
    fake_desktop_ui ui;
    Form1 form{ui};
};

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

} // namespace

TEST_F(form1_plot, missing_tracer_file_aborts_after_the_labels_are_set) {
    configure("cube.boundary", "no-such.tracers");
    const tolvex_conf& conf = form.document().settings;
    std::vector<std::string> labels_during_message;
    ui.on_message = [&] { labels_during_message = {label("lbl_tracer"), label("lbl_boundary")}; };

    plot();

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Failed to load tracer points from [" + conf.tracer_file + "].");
    EXPECT_EQ(ui.messages[0].caption, "ABORT");
    EXPECT_EQ(ui.messages[0].icon, message_icon::error);
    const std::vector<std::string> expected{"tracer file = " + conf.tracer_file,
                                            "boundary file = " + conf.boundary_file};
    EXPECT_EQ(labels_during_message, expected);
    EXPECT_TRUE(plot_enabled());
    EXPECT_EQ(ui.viewers_opened, 0);

    // Once the file is there, the same button runs.
    configure("cube.boundary", "points.tracers");
    plot();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.viewers_opened, 1);
}

TEST_F(form1_plot, both_files_missing_warns_then_aborts) {
    configure("no-such.boundary", "no-such.tracers");
    plot();

    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].caption, "WARNING");
    EXPECT_EQ(ui.messages[0].icon, message_icon::warning);
    EXPECT_NE(ui.messages[0].text.find("no-such.boundary"), std::string::npos);
    EXPECT_EQ(ui.messages[1].caption, "ABORT");
    EXPECT_NE(ui.messages[1].text.find("no-such.tracers"), std::string::npos);
    EXPECT_TRUE(plot_enabled());
}

// Doubtful input is used as given: one warning before the viewer opens lists the run's and the
// files' warnings.
TEST_F(form1_plot, warnings_about_the_input_are_shown_once_before_the_viewer) {
    write_text(files.file("points.tracers"), "0 0 0\n# far\n9 9 9\n");
    plot();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "WARNING");
    EXPECT_NE(ui.messages[0].text.find("points.tracers:3: a tracer lies outside the boundary"),
              std::string::npos)
        << ui.messages[0].text;
}

TEST_F(form1_plot, bad_tracer_line_aborts_naming_file_and_line) {
    write_text(files.file("bad.tracers"), "0.1, 0.2, 0.3\n1x 2 3\n");
    configure("cube.boundary", "bad.tracers");
    plot();

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "ABORT");
    EXPECT_NE(ui.messages[0].text.find(files.file("bad.tracers") + ":2:"), std::string::npos)
        << ui.messages[0].text;
    EXPECT_TRUE(plot_enabled());
    EXPECT_EQ(ui.viewers_opened, 0);
}

TEST_F(form1_plot, a_run_hands_the_switched_on_lists_to_the_viewer_and_disables_plot) {
    form.document().settings.show_block = true;
    plot();

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.viewers_opened, 1);
    EXPECT_FALSE(plot_enabled());
    // No faults: each run is its step 0, the boundary.
    const viewer_scenes& viewer = ui.viewer;
    ASSERT_EQ(form.document().last_run.forward.blocks.size(), 1u);
    ASSERT_EQ(viewer.forward.steps.size(), 1u);
    EXPECT_EQ(viewer.restored.steps.size(), 1u);
    EXPECT_EQ(viewer.forward.steps[0].label, "forward 0/0");
    step_frame shown;
    step_parts(viewer.forward, 0, false, shown);
    ASSERT_EQ(shown.parts.size(), 2u); // the block, then the tracers
    EXPECT_EQ(shown.parts[0].shape->vertices.size(), 8u);
    EXPECT_TRUE(shown.tracers.empty()) << "SHOW_TRACER is off";
    EXPECT_EQ(form.document().last_run.forward.tracers.size(), 1u);
    // Pictures the viewer saves lie beside the executable before a fault file is loaded.
    EXPECT_EQ(viewer.picture_base, join_path(executable_dir(), "tolvex"));
    // The labels name the files as configured; hovering shows the whole path.
    EXPECT_EQ(find<QLabel>(form, "lbl_boundary")->toolTip().toStdString(),
              files.file("cube.boundary"));
}

TEST_F(form1_plot, the_configured_horizons_reach_the_viewer_and_a_bad_horizon_file_aborts) {
    const std::string folder = files.path().filename().string();
    form.document().settings.horizon_file = folder + "/layer.obj";
    write_text(files.file("layer.obj"), "v 0 0 50\nv 100 0 50\nv 0 100 50\nf 1 2 3\n");
    plot();
    ASSERT_EQ(ui.viewers_opened, 1);
    EXPECT_EQ(ui.viewer.forward.kept.steps.back().horizons.polygons.size(), 1u);
    ui.close_viewer();

    write_text(files.file("layer.obj"), "v 0 0 50\nf 1 2 3\n");
    plot();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "ABORT");
    EXPECT_NE(ui.messages[0].text.find("layer.obj"), std::string::npos) << ui.messages[0].text;
    EXPECT_EQ(ui.viewers_opened, 1);
}

TEST_F(form1_plot, a_viewer_that_cannot_open_is_reported_and_plot_comes_back) {
    form.document().settings.show_tracer = true;
    ui.viewer_opens = false;
    plot();

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, message_icon::error);
    EXPECT_TRUE(plot_enabled());
    step_frame shown;
    step_parts(ui.viewer.forward, 0, false, shown);
    ASSERT_EQ(shown.parts.size(), 1u) << "SHOW_BLOCK is off";
    EXPECT_EQ(shown.tracers.size(), 1u);
}

// "Save &Section..." opens the map of the last run, shows the restored and forward sections along
// the line drawn on it, straight or bent, and saves them; before a plot, or for a line that misses
// the model, it says so and writes nothing.
TEST_F(form1_plot, save_section_shows_the_section_along_the_line_drawn_then_saves_it) {
    ui.section_answer = {{0, 50}, {100, 50}};
    ui.save_answer = files.file("s.svg");
    find<QAction>(form, "mi_save_section")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "WARNING");
    EXPECT_TRUE(ui.section_maps.empty());

    plot();
    find<QAction>(form, "mi_save_section")->trigger();
    ASSERT_EQ(ui.section_maps.size(), 1u);
    EXPECT_EQ(ui.section_maps[0].outline.size(), 4u);
    EXPECT_EQ(ui.section_start, (std::vector<map_point>{{0, 50}, {100, 50}}));
    ASSERT_EQ(ui.previews.size(), 1u);
    EXPECT_EQ(ui.previews[0].png.substr(0, 4), "\x89PNG");
    EXPECT_TRUE(ui.section_saved);
    EXPECT_EQ(ui.save_filters.back(), "SVG|*.svg|PDF|*.pdf|PNG|*.png");
    EXPECT_EQ(read_text(files.file("s.svg")).rfind("<?xml", 0), 0u);
    EXPECT_EQ(ui.messages.size(), 1u);

    ui.section_answer = {{500, 0}, {500, 1}};
    ui.save_answer = files.file("t.svg");
    find<QAction>(form, "mi_save_section")->trigger();
    EXPECT_TRUE(ui.previews.back().png.empty());
    EXPECT_EQ(ui.previews.back().message, "the line misses the model");
    EXPECT_EQ(ui.messages.back().text, ui.previews.back().message);
    EXPECT_FALSE(ui.section_saved);
    EXPECT_FALSE(std::filesystem::exists(files.file("t.svg")));

    ui.section_answer = {{0, 50}, {50, 50}, {50, 100}}; // bent once
    ui.save_answer = files.file("b.svg");
    find<QAction>(form, "mi_save_section")->trigger();
    EXPECT_EQ(ui.previews.back().png.substr(0, 4), "\x89PNG");
    EXPECT_TRUE(ui.section_saved);
    EXPECT_NE(read_text(files.file("b.svg")).find("bent line, 2 segments"), std::string::npos);
}

// A second plot after the viewer closed starts from the files as loaded: the fault file opened
// in between and the boundary once, with the result a fresh tolvex-batch run gives.
TEST_F(form1_plot, after_the_viewer_closes_plot_runs_the_newly_opened_faults_afresh) {
    write_text(files.file("points.tracers"), "0.1, 0.2, 0.3\n-0.2, 0.1, 0.4\n0.3, -0.3, -0.2\n");
    const std::string first = files.file("first.efd");
    const std::string second = files.file("second.efd");
    write_text(first, fault_line(1, 30.0, {1, 0, 0}, {0, 0, 1}, {50, 50, 50}, 1));
    write_text(second, fault_line(2, 20.0, {0, 0, 1}, {1, 0, 0}, {60, 50, 50}, 1) +
                           fault_line(3, 10.0, {0, 1, 0}, {0, 0, 1}, {50, 50, 40}, 2));
    ui.open_answer = first;
    find<QAction>(form, "mi_open")->trigger();
    plot();
    ASSERT_FALSE(plot_enabled());
    ui.close_viewer();
    EXPECT_TRUE(plot_enabled());

    ui.open_answer = second;
    find<QAction>(form, "mi_open")->trigger();
    plot();
    EXPECT_EQ(ui.viewers_opened, 2);
    EXPECT_EQ(ui.viewer.forward.kept.steps.front().blocks.size(), 1u) << "one boundary block";
    EXPECT_EQ(ui.viewer.picture_base, files.file("second"));
    ui.save_answer = files.file("desktop.txt");
    find<QAction>(form, "mi_save_tracer")->trigger();

    const std::string command =
        quoted(TOLVEX_BATCH) + " --quiet --tracer-radius 100 --boundary " +
        quoted(files.file("cube.boundary")) + " --tracers " + quoted(files.file("points.tracers")) +
        " --faults " + quoted(second) + " --save-tracers " + quoted(files.file("batch.txt"));
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(read_text(files.file("desktop.txt")), read_text(files.file("batch.txt")));
    EXPECT_TRUE(ui.messages.empty());
}
