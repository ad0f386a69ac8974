#include "app/qt_desktop_ui.hpp"

#include "app/fault_edit_dialog.hpp"
#include "app/fit_slips_dialog.hpp"
#include "app/section_dialog.hpp"

#include "app/name_filters.hpp"
#include "io/file_paths.hpp"
#include "viewer/viewer_window.hpp"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace tolvex {

namespace {

std::optional<std::string> run_file_dialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

QMessageBox::Icon qt_icon(message_icon icon) {
    switch (icon) {
    case message_icon::warning:
        return QMessageBox::Warning;
    case message_icon::error:
        return QMessageBox::Critical;
    case message_icon::none:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

std::optional<std::string> qt_desktop_ui::open_file_dialog(const std::string& filter,
                                                           const std::string& start_dir) {
    QFileDialog dialog(QApplication::activeWindow(), QString(),
                       QFile::decodeName(start_dir.c_str()));
    dialog.setFileMode(QFileDialog::ExistingFile);
    QStringList filters;
    for (const std::string& entry : dialog_name_filters(filter))
        filters << QString::fromStdString(entry);
    dialog.setNameFilters(filters);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    return run_file_dialog(dialog);
}

std::optional<std::string> qt_desktop_ui::save_file_dialog(const std::string& default_ext,
                                                           const std::string& filter) {
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(default_ext));
    if (!filter.empty()) {
        QStringList filters;
        for (const std::string& entry : dialog_name_filters(filter))
            filters << QString::fromStdString(entry);
        dialog.setNameFilters(filters);
        const QString wanted = "*." + QString::fromStdString(default_ext);
        for (const QString& f : filters)
            if (f.contains(wanted))
                dialog.selectNameFilter(f);
        // A name typed without an ending takes the chosen filter's first one.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& f) {
                             const qsizetype from = f.indexOf("*.");
                             if (from < 0)
                                 return;
                             qsizetype to = from + 2;
                             while (to < f.size() && f[to] != ' ' && f[to] != ')' && f[to] != '*')
                                 ++to;
                             dialog.setDefaultSuffix(f.mid(from + 2, to - from - 2));
                         });
    }
    return run_file_dialog(dialog);
}

void qt_desktop_ui::message_box(const std::string& text, const std::string& caption,
                                message_icon icon) {
    QMessageBox box(qt_icon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText); // paths and file names are shown as they are
    box.exec();
}

std::optional<std::vector<fault>>
qt_desktop_ui::edit_faults_dialog(const std::vector<std::vector<std::string>>& rows) {
    FaultEditDialog dialog(
        rows, [this](const std::string& text) { message_box(text, "ERROR", message_icon::error); },
        QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.faults();
}

bool qt_desktop_ui::fit_slips_dialog(const fit_slips_table& table) {
    FitSlipsDialog dialog(table, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

void qt_desktop_ui::section_dialog(const section_map& map, const std::vector<map_point>& line,
                                   const section_dialog_calls& calls) {
    SectionDialog dialog(map, line, calls, QApplication::activeWindow());
    dialog.exec();
}

std::string qt_desktop_ui::executable_dir() {
    return tolvex::executable_dir();
}

// A viewer still open at the end goes first: its closing must not reach the window or this
// object once they are gone.
qt_desktop_ui::~qt_desktop_ui() {
    close_viewer_window(viewer);
}

bool qt_desktop_ui::open_viewer(viewer_scenes scenes, const view_options& options,
                                std::function<void()> on_closed) {
    viewer.on_closed = std::move(on_closed);
    if (!open_viewer_window(viewer, std::move(scenes), options))
        return false;
    if (!viewer_events) {
        // The viewer's events arrive on its display connection, which stays open after its
        // window closes; the pump before Qt's loop sleeps also handles events already read off
        // that connection and redraws the viewer asked for.
        viewer_events =
            std::make_unique<QSocketNotifier>(viewer_event_fd(viewer), QSocketNotifier::Read);
        QObject::connect(viewer_events.get(), &QSocketNotifier::activated, [this] { pump(); });
        QObject::connect(QAbstractEventDispatcher::instance(),
                         &QAbstractEventDispatcher::aboutToBlock, viewer_events.get(),
                         [this] { pump(); });
        playback_pump.setInterval(20);
        QObject::connect(&playback_pump, &QTimer::timeout, [this] { pump(); });
    }
    pump();
    return true;
}

void qt_desktop_ui::pump() {
    pump_viewer_events(viewer);
    if (viewer.state.playing && !playback_pump.isActive())
        playback_pump.start();
    else if (!viewer.state.playing && playback_pump.isActive())
        playback_pump.stop();
}

} // namespace tolvex
