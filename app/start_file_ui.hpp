// The fault file named on the command line, opened through the main window's own "&Open", so it
// is read, listed and reported exactly as a file chosen in the dialog: the ui Ui with its first
// open dialog answered by that file.
#pragma once

#include <QAction>
#include <QWidget>

#include <optional>
#include <string>
#include <utility>

namespace tolvex {

template <class Ui> class with_start_file : public Ui {
  public:
    explicit with_start_file(std::optional<std::string> file) : pending(std::move(file)) {}

    // Triggers window's "&Open" when the file is still to be opened.
    void open_in(QWidget& window) {
        if (!pending)
            return;
        if (auto* open = window.findChild<QAction*>("mi_open"))
            open->trigger();
    }

    std::optional<std::string> open_file_dialog(const std::string& filter,
                                                const std::string& start_dir) override {
        if (pending)
            return std::exchange(pending, std::nullopt);
        return Ui::open_file_dialog(filter, start_dir);
    }

  private:
    std::optional<std::string> pending;
};

} // namespace tolvex
