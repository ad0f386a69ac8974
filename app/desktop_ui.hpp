// What the main window needs from the desktop around it: file dialogs, message boxes, the
// executable's folder and the 3-D viewer. The program uses the Qt one (qt_desktop_ui); tests
// answer with fakes, so no handler ever waits on a real modal dialog.
#pragma once

#include "app/fit_slips_table.hpp"
#include "config/view_options.hpp"
#include "geometry/fault.hpp"
#include "model/section_map.hpp"
#include "viewer/viewer_session.hpp"

#include <functional>

#include <optional>
#include <string>
#include <vector>

namespace tolvex {

enum class message_icon { none, warning, error };

// A section as the "Save Section" dialog shows it: a PNG's bytes, or the text why there is none.
struct section_preview {
    std::string png;
    std::string message;
};

// What the "Save Section" dialog asks of the window that opened it; line is two or more map points.
struct section_dialog_calls {
    // The section along line as a PNG of width x height pixels.
    std::function<section_preview(const std::vector<map_point>& line, int width, int height)>
        preview;
    // Asks for a file and saves the section along line in it; true once saved, and the dialog
    // closes.
    std::function<bool(const std::vector<map_point>& line)> save;
};

class desktop_ui {
  public:
    virtual ~desktop_ui() = default;

    // Modal open dialog. filter: "description|patterns|description|patterns", patterns separated
    // by ";". Starts in start_dir. The chosen file's full path, or nullopt when cancelled.
    virtual std::optional<std::string> open_file_dialog(const std::string& filter,
                                                        const std::string& start_dir) = 0;

    // Modal save dialog; default_ext is added to a name typed without an extension (the chosen
    // filter's first ending when filter, written as for open_file_dialog, offers any). The chosen
    // full path, or nullopt when cancelled.
    virtual std::optional<std::string> save_file_dialog(const std::string& default_ext,
                                                        const std::string& filter = {}) = 0;

    // Modal message box with one OK button; returns when the user has closed it.
    virtual void message_box(const std::string& text, const std::string& caption,
                             message_icon icon) = 0;

    // The modal "Edit Faults" dialog on rows (a fault table's cells, the header first): the faults
    // read from its table when the user confirms, nullopt when cancelled.
    virtual std::optional<std::vector<fault>>
    edit_faults_dialog(const std::vector<std::vector<std::string>>& rows) = 0;

    // The modal "Fit Slips" dialog on a fit's tables: true when the user confirms with OK.
    virtual bool fit_slips_dialog(const fit_slips_table& table) = 0;

    // The modal "Save Section" dialog: map with line drawn on it to start with (empty: none), the
    // user drawing or typing the line, the section shown and saved through calls. Returns when
    // the dialog is closed.
    virtual void section_dialog(const section_map& map, const std::vector<map_point>& line,
                                const section_dialog_calls& calls) = 0;

    virtual std::string executable_dir() = 0;

    // Opens the 3-D viewer on scenes with the background, start eye and modes of options and
    // keeps it running beside the main window; on_closed runs once the user has closed it. False
    // when no viewer window could be opened.
    virtual bool open_viewer(viewer_scenes scenes, const view_options& options,
                             std::function<void()> on_closed) = 0;
};

} // namespace tolvex
