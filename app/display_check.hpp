// Whether the desktop program can show its windows: checked before Qt starts, because Qt without
// a display aborts with advice to reinstall.
#pragma once

#include <optional>
#include <string>

namespace tolvex {

// nullopt when the platform Qt will use (QT_QPA_PLATFORM, else X11 or Wayland) can show windows:
// a platform that needs no display (offscreen, minimal, ...), a reachable X display for xcb, a
// WAYLAND_DISPLAY for wayland. Otherwise the one line to print, naming what is missing.
std::optional<std::string> display_problem();

} // namespace tolvex
