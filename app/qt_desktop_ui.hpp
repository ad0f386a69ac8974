// The desktop_ui of the running program: Qt's modal file dialogs and message boxes, the
// executable's folder from /proc/self/exe, and the 3-D viewer driven from Qt's event loop so the
// main window stays usable while the viewer is open.
#pragma once

#include "desktop_ui.hpp"

#include <QSocketNotifier>

#include <memory>

namespace tolvex {

class qt_desktop_ui : public desktop_ui {
  public:
    std::optional<std::string> open_file_dialog(const std::string& filter,
                                                const std::string& start_dir) override;
    std::optional<std::string> save_file_dialog(const std::string& default_ext) override;
    void message_box(const std::string& text, const std::string& caption,
                     message_icon icon) override;
    std::string executable_dir() override;
    bool open_viewer(const view_options& options) override;

  private:
    std::unique_ptr<QSocketNotifier> viewer_events;
};

} // namespace tolvex
