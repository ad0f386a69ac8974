// The settings file a user gets on the program's first start: the installed example's settings
// with its file names made absolute, so the first plot shows the example.
#pragma once

#include <string>

namespace tolvex {

// example_text, the example's tolvex.conf, with each relative name of a file key (one ending in
// _FILE=, such as BOUNDARY_FILE= or HORIZON_FILE=) joined to examples_dir and its comments replaced
// by one saying where it came from.
std::string first_settings_text(const std::string& example_text, const std::string& examples_dir);

// Writes path (making its folders) from examples_dir/tolvex.conf, atomically: the user never
// finds half a file. Throws input_error when the example cannot be read, output_error naming path
// when it cannot be written.
void write_first_settings(const std::string& path, const std::string& examples_dir);

} // namespace tolvex
