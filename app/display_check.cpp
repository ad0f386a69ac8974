#include "app/display_check.hpp"

#include <X11/Xlib.h>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>

#include <cstdlib>
#include <string_view>
#include <vector>

namespace tolvex {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool x_display_opens() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    XCloseDisplay(display);
    return true;
}

// Whether the platform named in a QT_QPA_PLATFORM entry ("name" or "name:options") can start.
bool platform_starts(std::string_view entry) {
    const std::string_view name = entry.substr(0, entry.find(':'));
    if (name.starts_with("wayland"))
        return !environment("WAYLAND_DISPLAY").empty();
    if (name == "xcb")
        return x_display_opens();
    return true;
}

} // namespace

std::optional<std::string> display_problem() {
    // Qt tries the platforms of a ";"-separated list in turn; without the variable it takes a
    // Wayland session's compositor or the X display.
    const std::string platforms = environment("QT_QPA_PLATFORM");
    std::vector<std::string> entries;
    if (platforms.empty())
        entries = {"wayland", "xcb"};
    else
        boost::split(entries, platforms, boost::is_any_of(";"));
    for (const std::string& entry : entries)
        if (platform_starts(entry))
            return std::nullopt;
    const std::string display = environment("DISPLAY");
    return "tolvex: no display: " +
           (display.empty() ? std::string("DISPLAY is not set")
                            : "cannot connect to the X display \"" + display + "\"") +
           "; tolvex-batch runs a model without one";
}

} // namespace tolvex
