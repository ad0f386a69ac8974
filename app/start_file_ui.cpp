#include "start_file_ui.hpp"

#include <QAction>
#include <QWidget>

#include <utility>

namespace tolvex {

start_file_ui::start_file_ui(desktop_ui& inner_ui, std::optional<std::string> file)
    : inner(inner_ui), pending(std::move(file)) {}

void start_file_ui::open_in(QWidget& window) {
    if (!pending)
        return;
    if (auto* open = window.findChild<QAction*>("mi_open"))
        open->trigger();
}

std::optional<std::string> start_file_ui::open_file_dialog(const std::string& filter,
                                                           const std::string& start_dir) {
    if (pending)
        return std::exchange(pending, std::nullopt);
    return inner.open_file_dialog(filter, start_dir);
}

std::optional<std::string> start_file_ui::save_file_dialog(const std::string& default_ext) {
    return inner.save_file_dialog(default_ext);
}

void start_file_ui::message_box(const std::string& text, const std::string& caption,
                                message_icon icon) {
    inner.message_box(text, caption, icon);
}

std::string start_file_ui::executable_dir() {
    return inner.executable_dir();
}

bool start_file_ui::open_viewer(const view_options& options) {
    return inner.open_viewer(options);
}

} // namespace tolvex
