// The fault file named on the command line, opened through the main window's own "&Open", so it
// is read, listed and reported exactly as a file chosen in the dialog: this desktop_ui answers
// the first open dialog with that file and hands everything else to the program's own ui.
#pragma once

#include "desktop_ui.hpp"

#include <optional>
#include <string>

class QWidget;

namespace tolvex {

class start_file_ui : public desktop_ui {
  public:
    // inner must outlive this ui.
    start_file_ui(desktop_ui& inner, std::optional<std::string> file);

    // Triggers window's "&Open" when a file is still to be opened.
    void open_in(QWidget& window);

    std::optional<std::string> open_file_dialog(const std::string& filter,
                                                const std::string& start_dir) override;
    std::optional<std::string> save_file_dialog(const std::string& default_ext) override;
    void message_box(const std::string& text, const std::string& caption,
                     message_icon icon) override;
    std::string executable_dir() override;
    bool open_viewer(const view_options& options) override;

  private:
    desktop_ui& inner;
    std::optional<std::string> pending;
};

} // namespace tolvex
