// The click handlers of the main window: each hands its work to the readers, the writer or the
// model run and shows the outcome.
#include "conf_run_files.hpp"
#include "desktop_texts.hpp"
#include "fault_loading.hpp"
#include "file_paths.hpp"
#include "form1.hpp"
#include "glut_data_manager.hpp"
#include "list_run.hpp"
#include "model_lists.hpp"
#include "run_history.hpp"
#include "tolvex_conf.hpp"
#include "tracer_file.hpp"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <filesystem>

namespace tolvex {

namespace {

// The bundled example fault files lie in "examples" beside the executable; without that folder
// the dialog starts in the current directory.
std::string open_dialog_start_dir(const std::string& exe_dir) {
    const std::string examples = join_path(exe_dir, "examples");
    std::error_code ec;
    if (std::filesystem::is_directory(examples, ec))
        return examples;
    return std::filesystem::current_path(ec).string();
}

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void Form1::mi_open_Click() {
    const auto path =
        ui.open_file_dialog(fault_file_filter, open_dialog_start_dir(ui.executable_dir()));
    if (!path)
        return;
    std::optional<std::vector<std::string>> lines;
    try {
        lines = load_fault_file(*path);
    } catch (const input_error& e) {
        ui.message_box(fault_file_error_text(e), "ERROR", message_icon::error);
        return;
    }
    if (!lines)
        return; // an unopenable file changes nothing, silently
    lb_fault->clear();
    for (const std::string& line : *lines)
        lb_fault->addItem(qtext(line));
}

void Form1::mi_save_tracer_Click() {
    const auto path = ui.save_file_dialog("txt");
    if (!path)
        return;
    try {
        write_tracer_file(*path, tracers_pro, tolvex_conf::get_instance().tracer_radius);
    } catch (const output_error& e) {
        ui.message_box(e.what(), "ERROR", message_icon::error);
    }
}

void Form1::mi_exit_Click() {
    QCoreApplication::quit();
}

void Form1::btn_plot_Click() {
    const tolvex_conf& conf = tolvex_conf::get_instance();
    lbl_tracer->setText(qtext("tracer file = " + conf.tracer_file));
    lbl_boundary->setText(qtext("boundary file = " + conf.boundary_file));

    const auto abort = [this](const std::exception& e) {
        ui.message_box(e.what(), "ABORT", message_icon::error);
    };
    // Every step of both runs, for the viewer to step through.
    scene_history restored, forward;
    try {
        run_model_lists(
            configured_run_files(conf, conf.folder),
            [this](const std::string& text) {
                ui.message_box(text, "WARNING", message_icon::warning);
            },
            history_collector(restored, forward));
    } catch (const run_aborted& e) {
        abort(e);
        return;
    } catch (const input_error& e) {
        abort(e);
        return;
    }

    glut_data_manager::get_instance().set_histories(
        shown_parts(std::move(restored), conf.show_block, conf.show_tracer),
        shown_parts(std::move(forward), conf.show_block, conf.show_tracer));
    btn_plot->setEnabled(false);
    if (!ui.open_viewer(conf.view())) {
        // plot stands disabled only while a viewer is open, so the user may try again.
        ui.message_box(viewer_failure_text, "ERROR", message_icon::error);
        btn_plot->setEnabled(true);
    }
}

} // namespace tolvex
