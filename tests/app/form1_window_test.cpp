// The main window as it starts: controls, texts, menu, layout, and how the program ends.
#include "tests/app/desktop_test_support.hpp"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tolvex;
using namespace tolvex::test;

TEST(form1_window, starts_empty_with_the_initial_texts_and_plot_enabled) {
    fake_desktop_ui ui;
    Form1 form(ui);

    EXPECT_EQ(form.windowTitle(), "Form1");
    EXPECT_EQ(find<QLabel>(form, "lbl_tracer")->text(), "tracer file = ");
    EXPECT_EQ(find<QLabel>(form, "lbl_boundary")->text(), "boundary file =");
    EXPECT_EQ(find<QListWidget>(form, "lb_fault")->count(), 0);
    EXPECT_EQ(find<QPushButton>(form, "btn_plot")->text(), "plot");
    EXPECT_TRUE(find<QPushButton>(form, "btn_plot")->isEnabled());

    const QFontInfo list_font(find<QListWidget>(form, "lb_fault")->font());
    EXPECT_TRUE(list_font.fixedPitch()) << list_font.family().toStdString();
    EXPECT_EQ(list_font.pointSize(), 9);
}

TEST(form1_window, file_menu_reads_open_saves_edit_fit_separator_exit) {
    fake_desktop_ui ui;
    Form1 form(ui);
    QMenu* file = find<QMenu>(form, "mi_file");
    EXPECT_EQ(file->title(), "&File");

    const QList<QAction*> items = file->actions();
    ASSERT_EQ(items.size(), 9);
    EXPECT_EQ(items[0]->text(), "&Open");
    EXPECT_EQ(items[0]->objectName(), "mi_open");
    EXPECT_EQ(items[1]->text(), "Save &Tracer");
    EXPECT_EQ(items[1]->objectName(), "mi_save_tracer");
    EXPECT_EQ(items[2]->text(), "Save &Restored Tracer");
    EXPECT_EQ(items[2]->objectName(), "mi_save_restored_tracer");
    EXPECT_EQ(items[3]->text(), "Save &Section...");
    EXPECT_EQ(items[3]->objectName(), "mi_save_section");
    EXPECT_EQ(items[4]->text(), "Save &Faults...");
    EXPECT_EQ(items[4]->objectName(), "mi_save_faults");
    EXPECT_EQ(items[5]->text(), "&Edit Faults...");
    EXPECT_EQ(items[5]->objectName(), "mi_edit_faults");
    EXPECT_EQ(items[6]->text(), "&Fit Slips…");
    EXPECT_EQ(items[6]->objectName(), "mi_fit_slips");
    EXPECT_TRUE(items[7]->isSeparator());
    EXPECT_EQ(items[7]->objectName(), "mi_bar1");
    EXPECT_EQ(items[8]->text(), "E&xit");
    EXPECT_EQ(items[8]->objectName(), "mi_exit");
    EXPECT_EQ(items[0]->shortcut().toString(), "Ctrl+O");
    EXPECT_EQ(items[8]->shortcut().toString(), "Ctrl+Q");
}

TEST(form1_window, widening_the_window_widens_only_the_fault_list) {
    fake_desktop_ui ui;
    Form1 form(ui);
    form.show();
    QApplication::processEvents();
    ASSERT_EQ(form.centralWidget()->size(), QSize(296, 273));

    const auto geometry = [&form](const char* name) {
        return find<QWidget>(form, name)->geometry();
    };
    EXPECT_EQ(geometry("lb_fault"), QRect(8, 8, 280, 124));
    EXPECT_EQ(geometry("lbl_tracer"), QRect(8, 136, 280, 16));
    EXPECT_EQ(geometry("lbl_boundary"), QRect(8, 152, 280, 16));
    EXPECT_EQ(geometry("btn_plot"), QRect(8, 200, 112, 24));

    form.resize(form.width() + 100, form.height() + 50);
    QApplication::processEvents();
    EXPECT_EQ(geometry("lb_fault"), QRect(8, 8, 380, 124));
    EXPECT_EQ(geometry("lbl_tracer"), QRect(8, 136, 280, 16));
    EXPECT_EQ(geometry("lbl_boundary"), QRect(8, 152, 280, 16));
    EXPECT_EQ(geometry("btn_plot"), QRect(8, 200, 112, 24));
}

// Runs the event loop with the window shown until `end` has ended it; 1 if it never does.
static int run_until_ended(Form1& form, const std::function<void()>& end) {
    form.show();
    QTimer::singleShot(0, &form, end);
    QTimer::singleShot(5000, &form, [] { QCoreApplication::exit(1); });
    return QApplication::exec();
}

TEST(form1_window, exit_and_closing_the_window_end_the_event_loop_with_status_0) {
    fake_desktop_ui ui;
    {
        Form1 form(ui);
        EXPECT_EQ(run_until_ended(form, [&form] { find<QAction>(form, "mi_exit")->trigger(); }), 0);
    }
    {
        Form1 form(ui);
        EXPECT_EQ(run_until_ended(form, [&form] { form.close(); }), 0);
    }
    EXPECT_TRUE(ui.messages.empty());
}
