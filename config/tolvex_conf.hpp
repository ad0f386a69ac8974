// The program's settings, read once at start-up from the file settings_location chooses.
#pragma once

#include "config/view_options.hpp"
#include "io/file_paths.hpp"
#include "io/input_error.hpp"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tolvex {

class tolvex_conf {
  public:
    // Reads the settings file at the full path filename. Returns false (nothing changed) when it
    // does not exist, or when it cannot be read (the reason then in problems), true once it was
    // read to its end. A line with a bad value (a three-number key with fewer than three values
    // included) keeps the earlier value and is recorded in problems; the rest of the file is
    // still read.
    bool read(const std::string& filename);

    // Applies the lines of text, the content of the file at path, as read does; sets loaded.
    void read_text(const std::string& text, const std::string& path);

    std::string boundary_file = "default_boundary";
    std::string tracer_file = "default_tracer";
    std::string horizon_file; // empty: the run has no horizons
    // Horizons of one run, refused together with horizon_file, which gives both runs theirs: the
    // present-day ones, which the restoration restores, and the undeformed ones, which the
    // forward run deforms. Empty: none.
    std::string present_horizon_file;
    std::string undeformed_horizon_file;
    std::string units; // the length unit drawings name; empty: none named
    std::array<float, 4> clear_color{0.0f, 0.0f, 0.0f, 1.0f};
    double tracer_radius = 100.0;
    bool show_block = false;
    bool show_tracer = false;
    xyz initial_view_point = default_view_point;
    display_modes view_modes; // the viewer's modes at start-up
    bool loaded = false;
    // The folder relative file names are taken in: the last file read's, else the executable's.
    std::string folder = executable_dir();

    // The viewer's settings as one value, for the viewer and the offscreen picture.
    view_options view() const;

    // Lines of the last read whose values were rejected, for the window to show once.
    std::vector<input_error> problems;
    // Lines of the last read that name a key, rejected or not.
    int key_lines = 0;
};

// A warning for a settings file at path whose lines name no key (another kind of file given as
// the settings, most likely); none when it names one or was not read.
std::optional<std::string> no_settings_warning(const tolvex_conf& conf, const std::string& path);

} // namespace tolvex
