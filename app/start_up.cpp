#include "app/start_up.hpp"

#include "app/desktop_texts.hpp"
#include "config/tolvex_conf.hpp"

#include <QWidget>

namespace tolvex {

bool start_up(QWidget& window, tolvex_conf& settings, const std::string& path) {
    if (path.empty() || !settings.read(path))
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
