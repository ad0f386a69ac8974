// The main window: the "&File" menu, the fault list, the two file labels and the plot button.
// It owns the document its handlers work on; they call the readers, the writers and the model
// run; dialogs, message boxes and the viewer are reached through the desktop_ui it is given. Every
// widget's objectName is its member name, so tests and scripted runs can find it.
#pragma once

#include "app/desktop_document.hpp"
#include "app/desktop_ui.hpp"
#include "formats/run_files.hpp"

#include <QMainWindow>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace tolvex {

class Form1 : public QMainWindow {
    Q_OBJECT

  public:
    // ui must outlive the window.
    explicit Form1(desktop_ui& ui);

    desktop_document& document() { return doc; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void InitializeComponent();
    void mi_open_Click();
    void mi_save_tracer_Click();
    void mi_save_restored_tracer_Click();
    void save_tracers(const point_list& tracers);
    void mi_save_section_Click();
    void mi_save_faults_Click();
    void mi_edit_faults_Click();
    void mi_fit_slips_Click();
    void show_faults();
    void show_file_labels(const run_files& files);
    void mi_exit_Click();
    void btn_plot_Click();

    desktop_ui& ui;
    desktop_document doc;
    QMenu* mi_file = nullptr;
    QAction* mi_bar1 = nullptr;
    QAction* mi_exit = nullptr;
    QAction* mi_open = nullptr;
    QListWidget* lb_fault = nullptr;
    QPushButton* btn_plot = nullptr;
    QLabel* lbl_tracer = nullptr;
    QLabel* lbl_boundary = nullptr;
    QAction* mi_save_tracer = nullptr;
    QAction* mi_save_restored_tracer = nullptr;
    QAction* mi_save_section = nullptr;
    QAction* mi_save_faults = nullptr;
    QAction* mi_edit_faults = nullptr;
    QAction* mi_fit_slips = nullptr;
};

} // namespace tolvex
