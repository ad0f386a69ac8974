// "&Open" and "Save &Tracer": what reaches the list box, the model lists and the disk, and what
// the user is told when a file is bad or cannot be written.
#include "tests/app/desktop_test_support.hpp"

#include "app/fault_edit_dialog.hpp"
#include "config/tolvex_conf.hpp"
#include "formats/fault_table.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"

#include <QAction>
#include <QListWidget>
#include <QTableWidget>

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
    EXPECT_EQ(ui.open_filters[0], "EFD or Text files (*.efd;*.txt)|*.efd;*.txt|Fault tables "
                                  "(*.csv)|*.csv|All files (*.*)|*.*");
    // Loaded as they are, but the angles the list shows are not the planes and slips the run uses.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "WARNING");
    const std::string& warning = ui.messages[0].text;
    EXPECT_EQ(warning.rfind(dir.file("two.efd") + ":2: plane azimuth/inclination 30/60 and normal "
                                                  "(1, 0, 0) (90/90) are ",
                            0),
              0u)
        << warning;
    EXPECT_NE(warning.find("\n" + dir.file("two.efd") + ":3: "), std::string::npos) << warning;

    // A second file replaces the first completely.
    write_text(dir.file("one.efd"), "F9\t1\t2\t3\t4\tZ\t9\t1\t0\t0\t1\t0\t0\t1\t0\t0\t0\t3\n");
    open(dir.file("one.efd"));
    EXPECT_EQ(list_lines(form), QStringList{"         9   1.0  2.0   3.0  4.0 Z     3"});
}

TEST_F(form1_files, cancel_unopenable_and_bad_files_leave_list_and_faults_as_they_were) {
    write_text(dir.file("two.efd"), two_faults);
    open(dir.file("two.efd"));
    const auto faults_before = form.document().faults_loaded.size();
    ui.messages.clear(); // its angles' warning

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

TEST_F(form1_files, save_faults_writes_the_loaded_faults_as_a_table_that_opens_again) {
    write_text(dir.file("t.csv"), "id,name,sequence,x,y,z,dip_direction,dip,rake,slip\n"
                                  "7,west,2,1,2,3,90,60,-90,10\n4,east,5,0,0,0,270,60,-80,5\n");
    open(dir.file("t.csv"));
    save(dir.file("saved.csv"), "mi_save_faults");
    open(dir.file("saved.csv"));

    EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text;
    EXPECT_EQ(ui.save_extensions, (std::vector<std::string>{"efd"}));
    EXPECT_EQ(list_lines(form), (QStringList{"         4 270.0 60.0 250.6 58.5      5",
                                             "         7  90.0 60.0  90.0 60.0      2"}));
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

// The dialog shows the table's columns; OK replaces the loaded faults and the list.
TEST_F(form1_files, edit_faults_replaces_the_loaded_faults_and_the_list) {
    write_text(dir.file("t.csv"), "id,name,sequence,x,y,z,dip_direction,dip,rake,slip\n"
                                  "7,west,2,1,2,3,90,60,-90,10\n");
    open(dir.file("t.csv"));
    ui.edit_answer = std::nullopt;
    find<QAction>(form, "mi_edit_faults")->trigger();
    ASSERT_EQ(ui.edited_rows.size(), 2u);
    EXPECT_EQ(ui.edited_rows[0].size(), 11u);
    EXPECT_EQ(ui.edited_rows[1][1], "west");
    EXPECT_EQ(form.document().faults_loaded.size(), 1u);

    ui.edit_answer =
        faults_from_rows({ui.edited_rows[0],
                          {"7", "west", "", "2", "1", "2", "3", "90", "60", "-90", "10"},
                          {"8", "east", "E", "3", "1", "2", "3", "270", "45", "-90", "5"}},
                         "edited");
    find<QAction>(form, "mi_edit_faults")->trigger();
    EXPECT_EQ(list_lines(form), (QStringList{"         8 270.0 45.0 270.0 45.0 E     3",
                                             "         7  90.0 60.0  90.0 60.0      2"}));
}

// Cells are read as a fault table is, undo steps back one change at a time, and a bad cell keeps
// the dialog open with the reader's message.
TEST(fault_edit_dialog, edits_undo_and_bad_cells) {
    std::vector<std::string> errors;
    FaultEditDialog dialog(
        {{"id", "name", "tag", "sequence", "x", "y", "z", "dip_direction", "dip", "rake", "slip"},
         {"7", "west", "", "2", "1", "2", "3", "90", "60", "-90", "10"}},
        [&](const std::string& e) { errors.push_back(e); });
    auto* table = find<QTableWidget>(dialog, "tbl_faults");
    table->item(0, 8)->setText("95");
    table->setCurrentCell(0, 0);
    dialog.add_row();
    EXPECT_EQ(table->rowCount(), 2);
    dialog.accept();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "the fault table:2: column \"dip\": 95 is outside 0 to 90");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.undo(); // the added row
    dialog.undo(); // the dip
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 8)->text(), "60");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(dialog.faults().size(), 1u);
    EXPECT_EQ(dialog.faults()[0].name, "west");
}
