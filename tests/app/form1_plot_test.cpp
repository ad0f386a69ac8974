// plot: the labels, the messages of a run that cannot go on, and the hand-over to the viewer.
// The run reads its files from the executable's folder, so the test puts them there.
#include "desktop_test_support.hpp"

#include "box.hpp"
#include "file_paths.hpp"
#include "glut_data_manager.hpp"
#include "model_lists.hpp"
#include "temp_folder.hpp"
#include "text_files.hpp"
#include "tolvex_conf.hpp"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace tolvex;
using namespace tolvex::test;

namespace {

const std::string cube_boundary =
    "# a 100 x 100 x 100 cube\n" + box_boundary(make_vec3(0, 0, 0), make_vec3(100, 100, 100));

class form1_plot : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_program_state();
        write_text(files.file("cube.boundary"), cube_boundary);
        write_text(files.file("points.tracers"), "# x, y, z\n0.1, 0.2, 0.3\n");
        configure("cube.boundary", "points.tracers");
    }

    // Names as the configuration gives them: relative to the executable's folder.
    void configure(const std::string& boundary, const std::string& tracer) {
        tolvex_conf& conf = tolvex_conf::get_instance();
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

} // namespace

TEST_F(form1_plot, missing_tracer_file_aborts_after_the_labels_are_set) {
    configure("cube.boundary", "no-such.tracers");
    const tolvex_conf& conf = tolvex_conf::get_instance();
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
    tolvex_conf::get_instance().show_block = true;
    plot();

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.viewers_opened, 1);
    EXPECT_FALSE(plot_enabled());
    // No faults: each run is its step 0, the boundary.
    const glut_data_manager& viewer = glut_data_manager::get_instance();
    ASSERT_EQ(blocks_pro.size(), 1u);
    ASSERT_EQ(viewer.forward.steps.size(), 1u);
    EXPECT_EQ(viewer.restored.steps.size(), 1u);
    EXPECT_EQ(viewer.forward.steps[0].label, "forward 0/0");
    const std::vector<scene_part> shown = step_parts(viewer.forward, 0);
    ASSERT_EQ(shown.size(), 2u); // the block, then the tracers no block carries
    EXPECT_EQ(shown[0].shape->vertices.size(), 8u);
    EXPECT_TRUE(shown[0].tracers->empty()) << "SHOW_TRACER is off";
    EXPECT_EQ(tracers_pro.size(), 1u);
}

TEST_F(form1_plot, a_viewer_that_cannot_open_is_reported_and_plot_comes_back) {
    tolvex_conf::get_instance().show_tracer = true;
    ui.viewer_opens = false;
    plot();

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, message_icon::error);
    EXPECT_TRUE(plot_enabled());
    const std::vector<scene_part> shown = step_parts(glut_data_manager::get_instance().forward, 0);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].tracers->size(), 1u);
    EXPECT_TRUE(shown[0].shape->vertices.empty()) << "SHOW_BLOCK is off";
}
