#include "start_up.hpp"

#include "desktop_texts.hpp"
#include "tolvex_conf.hpp"

#include <QWidget>

namespace tolvex {

bool start_up(QWidget& window, const std::string& path) {
    if (path.empty() || !tolvex_conf::get_instance().read(path))
        return false;
    window.setWindowTitle("tolvex");
    return true;
}

void show_config_problems(desktop_ui& ui) {
    const auto& problems = tolvex_conf::get_instance().problems;
    if (!problems.empty())
        ui.message_box(config_problems_text(problems), "WARNING", message_icon::warning);
}

} // namespace tolvex
