// "&Open" and "Save &Tracer": what reaches the list box, the model lists and the disk, and what
// the user is told when a file is bad or cannot be written.
#include "tests/app/desktop_test_support.hpp"

#include "config/tolvex_conf.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"

#include <QAction>
#include <QListWidget>

#include <fstream>

#include <gtest/gtest.h>

using namespace tolvex;
using namespace tolvex::test;

namespace {

// Sequence numbers 1 and 7, in rising order; the list shows them falling.
const std::string two_faults = "# name\tplane\n"
                               "F1\t30\t60\t120\t45\tA\t1\t10\t0\t0\t1\t1\t0\t0\t0\t0\t0\t1\n"
                               "F2\t1000\t5.5\t90\t0\tB\t22\t5\t1\t0\t0\t0\t1\t0\t0\t0\t0\t7\n";

QStringList list_lines(Form1& form) {
    QStringList lines;
    const QListWidget* list = find<QListWidget>(form, "lb_fault");
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

class form1_files : public ::testing::Test {
  protected:
    void open(const std::optional<std::string>& answer) {
        ui.open_answer = answer;
        find<QAction>(form, "mi_open")->trigger();
    }
    void save(const std::optional<std::string>& answer, const char* item = "mi_save_tracer") {
        ui.save_answer = answer;
        find<QAction>(form, item)->trigger();
    }

    temp_folder dir;
    fake_desktop_ui ui;
    Form1 form{ui};
};

const QStringList two_fault_lines{"        22 1000.0  5.5  90.0  0.0 B     7",
                                  "         1  30.0 60.0 120.0 45.0 A     1"};

} // namespace

TEST_F(form1_files, open_lists_the_faults_by_descending_sequence_number) {
    write_text(dir.file("two.efd"), two_faults);
    open(dir.file("two.efd"));

    EXPECT_EQ(list_lines(form), two_fault_lines);
    ASSERT_EQ(ui.open_filters.size(), 1u);
    EXPECT_EQ(ui.open_filters[0],
              "EFD or Text files (*.efd;*.txt)|*.efd;*.txt|All files (*.*)|*.*");
    EXPECT_TRUE(ui.messages.empty());

    // A second file replaces the first completely.
    write_text(dir.file("one.efd"), "F9\t1\t2\t3\t4\tZ\t9\t1\t0\t0\t1\t0\t0\t1\t0\t0\t0\t3\n");
    open(dir.file("one.efd"));
    EXPECT_EQ(list_lines(form), QStringList{"         9   1.0  2.0   3.0  4.0 Z     3"});
}

TEST_F(form1_files, cancel_unopenable_and_bad_files_leave_list_and_faults_as_they_were) {
    write_text(dir.file("two.efd"), two_faults);
    open(dir.file("two.efd"));
    const auto faults_before = form.document().faults_loaded.size();

    open(std::nullopt);
    open(dir.file("missing.efd"));
    EXPECT_TRUE(ui.messages.empty()) << "cancel and an unopenable file are silent";

    write_text(dir.file("bad.efd"),
               "F1\t30\t60\t120\t45\tA\t1\t10\t0\t0\t1\t1\t0\t0\t0\t0\t0\t1\n"
               "F2\tsteep\t5.5\t90\t0\tB\t22\t5\t1\t0\t0\t0\t1\t0\t0\t0\t0\t7\n");
    open(dir.file("bad.efd"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(dir.file("bad.efd") + ":2:"), std::string::npos)
        << ui.messages[0].text;
    EXPECT_EQ(ui.messages[0].icon, message_icon::error);

    EXPECT_EQ(list_lines(form), two_fault_lines);
    EXPECT_EQ(form.document().faults_loaded.size(), faults_before);
}

// Permissions are the usual cause, but tests may run as root, whom they do not stop: a link to
// itself exists and cannot be opened by anyone.
TEST_F(form1_files, a_fault_file_that_cannot_be_opened_is_reported_with_the_reason) {
    std::filesystem::create_symlink("loop.efd", dir.path() / "loop.efd");
    open(dir.file("loop.efd"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind(dir.file("loop.efd") +
                                            ": cannot open the file: Too many levels of symbolic "
                                            "links\n",
                                        0),
              0u)
        << ui.messages[0].text;
    EXPECT_EQ(ui.messages[0].caption, "ERROR");
}

TEST_F(form1_files, open_dialog_starts_in_examples_beside_the_executable_else_here) {
    ui.exe_dir = dir.path().string();
    open(std::nullopt);
    std::filesystem::create_directory(dir.path() / "examples");
    open(std::nullopt);

    ASSERT_EQ(ui.open_start_dirs.size(), 2u);
    EXPECT_EQ(ui.open_start_dirs[0], std::filesystem::current_path().string());
    EXPECT_EQ(ui.open_start_dirs[1], (dir.path() / "examples").string());
}

TEST_F(form1_files, save_writes_the_forward_or_restored_tracers_in_tracer_file_units) {
    form.document().settings.tracer_radius = 100.0;
    form.document().last_run.forward.tracers = {make_vec3(50, -100, 200), make_vec3(10, 20, 30)};
    form.document().last_run.restored.tracers = {make_vec3(-100, 0, 300)};

    save(dir.file("out.txt"));
    save(dir.file("restored.txt"), "mi_save_restored_tracer");

    EXPECT_EQ(read_text(dir.file("out.txt")), "     0.50000000     -1.00000000      2.00000000\n"
                                              "     0.10000000      0.20000000      0.30000000\n");
    EXPECT_EQ(read_text(dir.file("restored.txt")),
              "    -1.00000000      0.00000000      3.00000000\n");
    EXPECT_EQ(ui.save_extensions, (std::vector<std::string>{"txt", "txt"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(form1_files, cancelled_save_writes_nothing) {
    form.document().last_run.forward.tracers = {make_vec3(1, 2, 3)};
    save(std::nullopt);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(ui.messages.empty());
}

// The message names the path; what was at the path stays as it was.
TEST_F(form1_files, a_folder_in_the_way_of_the_save_is_reported_and_kept) {
    form.document().last_run.forward.tracers = {make_vec3(1, 2, 3)};
    std::filesystem::create_directory(dir.path() / "taken");
    write_text(dir.file("taken/keep.txt"), "keep\n");

    save(dir.file("taken"));

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(dir.file("taken")), std::string::npos);
    EXPECT_EQ(ui.messages[0].icon, message_icon::error);
    EXPECT_EQ(read_text(dir.file("taken/keep.txt")), "keep\n");
}

TEST_F(form1_files, a_save_into_a_read_only_folder_is_reported_and_the_old_file_kept) {
    form.document().last_run.forward.tracers = {make_vec3(1, 2, 3)};
    std::filesystem::create_directory(dir.path() / "locked");
    write_text(dir.file("locked/old.txt"), "old\n");
    std::filesystem::permissions(dir.path() / "locked", std::filesystem::perms::owner_read |
                                                            std::filesystem::perms::owner_exec);
    if (std::ofstream(dir.file("locked/probe")))
        GTEST_SKIP() << "running with rights that ignore folder permissions (root)";

    save(dir.file("locked/old.txt"));

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(dir.file("locked/old.txt")), std::string::npos);
    EXPECT_EQ(read_text(dir.file("locked/old.txt")), "old\n");
}
