// The desktop_ui of the running program: Qt's modal file dialogs and message boxes, the
// executable's folder from /proc/self/exe, and the 3-D viewer driven from Qt's event loop so the
// main window stays usable while the viewer is open. It holds the viewer's session, which lives
// as long as the program may pump the viewer.
#pragma once

#include "app/desktop_ui.hpp"

#include <QSocketNotifier>
#include <QTimer>

#include <memory>

namespace tolvex {

class qt_desktop_ui : public desktop_ui {
  public:
    qt_desktop_ui() = default;
    ~qt_desktop_ui() override;
    qt_desktop_ui(const qt_desktop_ui&) = delete;
    qt_desktop_ui& operator=(const qt_desktop_ui&) = delete;

    std::optional<std::string> open_file_dialog(const std::string& filter,
                                                const std::string& start_dir) override;
    std::optional<std::string> save_file_dialog(const std::string& default_ext,
                                                const std::string& filter) override;
    void message_box(const std::string& text, const std::string& caption,
                     message_icon icon) override;
    std::optional<std::vector<fault>>
    edit_faults_dialog(const std::vector<std::vector<std::string>>& rows) override;
    bool fit_slips_dialog(const fit_slips_table& table) override;
    void section_dialog(const section_map& map, const std::vector<map_point>& line,
                        const section_dialog_calls& calls) override;
    std::string executable_dir() override;
    bool open_viewer(viewer_scenes scenes, const view_options& options,
                     std::function<void()> on_closed) override;

  private:
    void pump();

    viewer_session viewer;
    std::unique_ptr<QSocketNotifier> viewer_events;
    // While the viewer plays, GLUT's timer is due with nothing on the display connection to
    // wake Qt: this timer pumps until playback stops.
    QTimer playback_pump;
};

} // namespace tolvex
