// Shared by the window tests: a desktop_ui that answers from the test and widget lookup by
// objectName.
#pragma once

#include "app/desktop_ui.hpp"
#include "app/form1.hpp"

#include <QString>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvex::test {

struct shown_message {
    std::string text;
    std::string caption;
    message_icon icon;
};

class fake_desktop_ui : public desktop_ui {
  public:
    std::optional<std::string> open_answer;
    std::optional<std::string> save_answer;
    std::vector<map_point> section_answer; // the line drawn in the section dialog; none: closed
    std::optional<std::vector<fault>> edit_answer;
    std::vector<std::vector<std::string>> edited_rows; // what the last fault dialog was given
    bool fit_answer = false;
    std::vector<fit_slips_table> fit_tables; // what each fit dialog was given
    std::string exe_dir = "/nonexistent-tolvex-dir";
    bool viewer_opens = true;

    std::vector<std::string> open_filters;
    std::vector<std::string> open_start_dirs;
    std::vector<std::string> save_extensions;
    std::vector<std::string> save_filters;
    std::vector<section_map> section_maps; // what each section dialog was given
    std::vector<map_point> section_start;  // the line the last one started with
    std::vector<section_preview> previews; // what it showed along section_answer
    bool section_saved = false;            // whether its save said so
    std::vector<shown_message> messages;
    int viewers_opened = 0;
    viewer_scenes viewer;               // what the last viewer was handed
    std::function<void()> close_viewer; // closes it as the user would
    std::function<void()> on_message;   // runs while the message "is on screen"

    std::optional<std::string> open_file_dialog(const std::string& filter,
                                                const std::string& start_dir) override {
        open_filters.push_back(filter);
        open_start_dirs.push_back(start_dir);
        return open_answer;
    }
    std::optional<std::string> save_file_dialog(const std::string& default_ext,
                                                const std::string& filter) override {
        save_extensions.push_back(default_ext);
        save_filters.push_back(filter);
        return save_answer;
    }
    // Draws section_answer, shows its section at 800 x 500 pixels, then saves it.
    void section_dialog(const section_map& map, const std::vector<map_point>& line,
                        const section_dialog_calls& calls) override {
        section_maps.push_back(map);
        section_start = line;
        if (section_answer.empty())
            return;
        previews.push_back(calls.preview(section_answer, 800, 500));
        section_saved = calls.save(section_answer);
    }
    void message_box(const std::string& text, const std::string& caption,
                     message_icon icon) override {
        if (on_message)
            on_message();
        messages.push_back({text, caption, icon});
    }
    std::optional<std::vector<fault>>
    edit_faults_dialog(const std::vector<std::vector<std::string>>& rows) override {
        edited_rows = rows;
        return edit_answer;
    }
    bool fit_slips_dialog(const fit_slips_table& table) override {
        fit_tables.push_back(table);
        return fit_answer;
    }
    std::string executable_dir() override { return exe_dir; }
    bool open_viewer(viewer_scenes scenes, const view_options&,
                     std::function<void()> on_closed) override {
        viewer = std::move(scenes);
        if (!viewer_opens)
            return false;
        ++viewers_opened;
        close_viewer = std::move(on_closed);
        return true;
    }
};

template <class T> T* find(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr)
        throw std::runtime_error(std::string("no child named ") + name);
    return child;
}

} // namespace tolvex::test
