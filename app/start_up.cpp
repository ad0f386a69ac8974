#include "app/start_up.hpp"

#include "app/desktop_texts.hpp"
#include "config/tolvex_conf.hpp"
#include "io/input_error.hpp"

#include <QWidget>
#include <filesystem>

namespace tolvex {

bool start_up(QWidget& window, tolvex_conf& settings, const std::string& path) {
    if (path.empty())
        return false;
    // Opening a pipe waits for a writer and a folder does not read: neither is read, so the
    // window comes up at once, with the defaults and a message.
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        settings.problems.push_back(
            input_error(path, 0, "not a regular file, so the settings are the defaults"));
        return false;
    }
    if (!settings.read(path))
        return false;
    window.setWindowTitle("tolvex");
    return true;
}

void show_config_problems(desktop_ui& ui, const tolvex_conf& settings, const std::string& path) {
    const auto& problems = settings.problems;
    if (!problems.empty())
        ui.message_box(config_problems_text(problems), "WARNING", message_icon::warning);
    if (const auto warning = no_settings_warning(settings, path))
        ui.message_box(*warning, "WARNING", message_icon::warning);
}

} // namespace tolvex
