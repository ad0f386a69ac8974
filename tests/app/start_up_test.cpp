// Start-up: the title follows whether tolvex.conf was read, ignored lines are reported once, the
// dialog filter reaches Qt in a form it matches, and a fault file named on the command line opens.
#include "tests/app/desktop_test_support.hpp"

#include "app/desktop_texts.hpp"
#include "app/name_filters.hpp"
#include "app/start_file_ui.hpp"
#include "app/start_up.hpp"
#include "config/tolvex_conf.hpp"
#include "tests/support/fault_line.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"

#include <QAction>
#include <QListWidget>

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tolvex;
using namespace tolvex::test;

class start_up_test : public ::testing::Test {
  protected:
    temp_folder dir;
    fake_desktop_ui ui;
    Form1 form{ui};
};

TEST_F(start_up_test, title_stays_form1_without_tolvex_conf) {
    EXPECT_FALSE(start_up(form, form.document().settings, dir.file("tolvex.conf")));
    EXPECT_EQ(form.windowTitle(), "Form1");
    EXPECT_EQ(form.document().settings.tracer_file, "default_tracer");
    show_config_problems(ui, form.document().settings, dir.file("tolvex.conf"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(start_up_test, title_becomes_tolvex_once_tolvex_conf_was_read) {
    write_text(dir.file("tolvex.conf"), "TRACER_I_FILE=layers.tracers\n");
    EXPECT_TRUE(start_up(form, form.document().settings, dir.file("tolvex.conf")));
    EXPECT_EQ(form.windowTitle(), "tolvex");
    EXPECT_EQ(form.document().settings.tracer_file, "layers.tracers");
}

TEST_F(start_up_test, ignored_configuration_lines_are_shown_once_with_their_line) {
    write_text(dir.file("tolvex.conf"), "SHOW_BLOCK\nTRACER_RADIUS=abc\nTRACER_RADIUS=50\n"
                                        "GL_CLEAR_COLOR=1,x,0\n");
    ASSERT_TRUE(start_up(form, form.document().settings, dir.file("tolvex.conf")));
    show_config_problems(ui, form.document().settings, dir.file("tolvex.conf"));

    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& text = ui.messages[0].text;
    EXPECT_NE(text.find(dir.file("tolvex.conf") + ":2:"), std::string::npos) << text;
    EXPECT_NE(text.find(dir.file("tolvex.conf") + ":4:"), std::string::npos) << text;
    EXPECT_EQ(ui.messages[0].icon, message_icon::warning);
    EXPECT_EQ(form.document().settings.tracer_radius, 50.0);
}

// A fault file given as the settings is read without a problem but sets nothing.
TEST_F(start_up_test, a_settings_file_naming_no_setting_is_warned_about_by_name) {
    write_text(dir.file("tolvex.conf"), "# faults\n1 2 3\n");
    ASSERT_TRUE(start_up(form, form.document().settings, dir.file("tolvex.conf")));
    show_config_problems(ui, form.document().settings, dir.file("tolvex.conf"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.starts_with(dir.file("tolvex.conf") + ": no line names"))
        << ui.messages[0].text;
}

// A pipe there would block the window's start until someone wrote to it; a folder does not read.
TEST_F(start_up_test, a_pipe_or_folder_as_settings_gives_a_message_and_the_defaults) {
    ASSERT_EQ(mkfifo(dir.file("pipe.conf").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.file("folder.conf"));
    for (const char* name : {"pipe.conf", "folder.conf"}) {
        tolvex_conf& settings = form.document().settings;
        EXPECT_FALSE(start_up(form, settings, dir.file(name)));
        EXPECT_EQ(settings.tracer_file, "default_tracer");
        ASSERT_EQ(settings.problems.size(), 1u);
        EXPECT_NE(std::string(settings.problems[0].what()).find("not a regular file"),
                  std::string::npos);
        settings.problems.clear();
    }
}

TEST(name_filters, the_fault_filter_becomes_qt_filters_that_match_on_linux) {
    const std::vector<std::string> expected{"EFD or Text files (*.efd;*.txt) (*.efd *.txt)",
                                            "Fault tables (*.csv) (*.csv)", "All files (*.*) (*)"};
    EXPECT_EQ(dialog_name_filters(fault_file_filter), expected);
}

TEST(start_file, the_named_fault_file_opens_without_a_dialog_and_later_opens_ask_again) {
    const temp_folder dir;
    write_text(dir.file("one.efd"), fault_line(1, 1) + "\n" + fault_line(2, 2) + "\n");
    with_start_file<fake_desktop_ui> ui(dir.file("one.efd"));
    Form1 form(ui);

    ui.open_in(form);
    EXPECT_EQ(find<QListWidget>(form, "lb_fault")->count(), 2);
    EXPECT_TRUE(ui.open_filters.empty());

    ui.open_in(form);
    find<QAction>(form, "mi_open")->trigger();
    EXPECT_EQ(ui.open_filters.size(), 1u);
    EXPECT_EQ(find<QListWidget>(form, "lb_fault")->count(), 2);
}
