// The click handlers of the main window: each hands its work to the readers, the writer or the
// model run and shows the outcome.
#include "app/desktop_texts.hpp"
#include "app/document_run.hpp"
#include "app/fault_loading.hpp"
#include "app/form1.hpp"
#include "config/conf_run_files.hpp"
#include "config/tolvex_conf.hpp"
#include "formats/fault_file.hpp"
#include "formats/fault_table.hpp"
#include "formats/tracer_file.hpp"
#include "geometry/horizon_colour.hpp"
#include "io/atomic_file.hpp"
#include "io/file_paths.hpp"
#include "io/input_error.hpp"
#include "view_math/run_history.hpp"

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

// Where the viewer's "s" puts pictures: beside the fault file, named after it; before any fault
// file is loaded, beside the executable as "tolvex".
std::string picture_base(const std::string& fault_path, const std::string& exe_dir) {
    if (fault_path.empty())
        return join_path(exe_dir, "tolvex");
    std::filesystem::path base(fault_path);
    return base.replace_extension().string();
}

} // namespace

void Form1::mi_open_Click() {
    const auto path =
        ui.open_file_dialog(fault_file_filter, open_dialog_start_dir(ui.executable_dir()));
    if (!path)
        return;
    std::optional<std::vector<std::string>> lines;
    std::string notes; // lines read and used as given but doubtful, shown once after loading
    try {
        lines = load_fault_file(doc, *path, [&notes](const std::string& text) {
            notes += (notes.empty() ? "" : "\n") + text;
        });
    } catch (const input_error& e) {
        ui.message_box(fault_file_error_text(e), "ERROR", message_icon::error);
        return;
    }
    if (!lines)
        return; // an unopenable file changes nothing, silently
    show_faults();
    if (!notes.empty())
        ui.message_box(notes, "WARNING", message_icon::warning);
}

void Form1::mi_edit_faults_Click() {
    std::vector<std::vector<std::string>> rows;
    try {
        rows = fault_table_rows(doc.faults_loaded);
    } catch (const output_error& e) {
        ui.message_box(e.what(), "ERROR", message_icon::error);
        return;
    }
    std::optional<std::vector<fault>> edited = ui.edit_faults_dialog(rows);
    if (!edited)
        return;
    doc.faults_loaded = std::move(*edited);
    show_faults();
}

void Form1::show_faults() {
    lb_fault->clear();
    for (const fault& f : doc.faults_loaded)
        lb_fault->addItem(qtext(fault_list_line(f)));
}

void Form1::mi_save_faults_Click() {
    const auto path = ui.save_file_dialog("efd");
    if (!path)
        return;
    try {
        write_file_atomically(*path, faults_text_for(*path, doc.faults_loaded));
    } catch (const output_error& e) {
        ui.message_box(e.what(), "ERROR", message_icon::error);
    }
}

void Form1::mi_save_tracer_Click() {
    save_tracers(doc.last_run.forward.tracers);
}

void Form1::mi_save_restored_tracer_Click() {
    save_tracers(doc.last_run.restored.tracers);
}

void Form1::save_tracers(const point_list& tracers) {
    const auto path = ui.save_file_dialog("txt");
    if (!path)
        return;
    try {
        write_tracer_file(*path, tracers, doc.settings.tracer_radius);
    } catch (const output_error& e) {
        ui.message_box(e.what(), "ERROR", message_icon::error);
    }
}

void Form1::mi_exit_Click() {
    QCoreApplication::quit();
}

void Form1::show_file_labels(const run_files& files) {
    const tolvex_conf& conf = doc.settings;
    lbl_tracer->setText(qtext("tracer file = " + conf.tracer_file));
    lbl_boundary->setText(qtext("boundary file = " + conf.boundary_file));
    // The labels show the names as configured; the whole path shows on hover.
    lbl_tracer->setToolTip(QString::fromLocal8Bit(files.tracer_path));
    lbl_boundary->setToolTip(QString::fromLocal8Bit(files.boundary_path));
}

void Form1::btn_plot_Click() {
    const tolvex_conf& conf = doc.settings;
    const run_files files = configured_run_files(conf, conf.folder);
    show_file_labels(files);
    const auto abort = [this](const std::exception& e) {
        ui.message_box(e.what(), "ABORT", message_icon::error);
    };
    // Every step of both runs, for the viewer to step through.
    scene_history restored, forward;
    std::string notes; // input used as given but doubtful, shown once before the viewer opens
    try {
        run_document(
            doc, files,
            [this](const std::string& text) {
                ui.message_box(text, "WARNING", message_icon::warning);
            },
            history_collector(restored, forward),
            [&notes](const std::string& text) { notes += (notes.empty() ? "" : "\n") + text; });
    } catch (const run_aborted& e) {
        abort(e);
        return;
    } catch (const input_error& e) {
        abort(e);
        return;
    }

    if (!notes.empty())
        ui.message_box(notes, "WARNING", message_icon::warning);
    restored.horizon_colours = forward.horizon_colours = horizon_colours(doc.last_run.horizons);
    viewer_scenes scenes{shown_parts(std::move(restored), conf.show_block, conf.show_tracer),
                         shown_parts(std::move(forward), conf.show_block, conf.show_tracer),
                         picture_base(doc.fault_path, executable_dir())};
    btn_plot->setEnabled(false);
    // plot stands disabled only while a viewer is open, so the user may plot again after.
    if (!ui.open_viewer(std::move(scenes), conf.view(), [this] { btn_plot->setEnabled(true); })) {
        ui.message_box(viewer_failure_text, "ERROR", message_icon::error);
        btn_plot->setEnabled(true);
    }
}

} // namespace tolvex
