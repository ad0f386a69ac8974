// The settings file the desktop program starts with: the one settings_location chooses, and on a
// first start the user's file, written from the installed example.
#pragma once

#include "config/settings_location.hpp"

#include <string>

namespace tolvex {

struct settings_start {
    std::string path;   // the file to read; empty for the built-in defaults
    std::string notice; // to tell the user once: the file just written, or why there is none
};

// For a given file, that file whether or not it can be read (the reader reports why not).
settings_start find_or_make_settings(const settings_places& places,
                                     const std::string& examples_dir);

// The installed example's folder for the program installed in exe_dir.
std::string installed_examples_dir(const std::string& exe_dir);

} // namespace tolvex
