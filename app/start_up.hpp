// Start-up of the desktop program: the settings file, the window title and the one report of
// ignored configuration lines.
#pragma once

#include "app/desktop_ui.hpp"
#include "config/tolvex_conf.hpp"

#include <string>

class QWidget;

namespace tolvex {

// Reads the settings file at path (none when empty) into settings; once it was read the window's
// title becomes "tolvex", otherwise it keeps its own and the defaults stay. Returns whether the
// file was read.
bool start_up(QWidget& window, tolvex_conf& settings, const std::string& path);

// Shows the lines of the configuration read from path whose values were ignored, in one message
// box, and warns when none of its lines names a setting; nothing when all is well.
void show_config_problems(desktop_ui& ui, const tolvex_conf& settings, const std::string& path);

} // namespace tolvex
