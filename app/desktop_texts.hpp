// The texts the main window shows beyond its control captions: dialog filters and the messages
// through which bad files reach the user.
#pragma once

#include "app/name_filters.hpp"
#include "formats/file_formats.hpp"
#include "io/input_error.hpp"

#include <string>
#include <vector>

namespace tolvex {

// The open dialog's filter for fault files, its endings from the table of formats.
inline const std::string fault_file_filter = read_filter("EFD or Text files", holds::fault_data) +
                                             "|" + read_filter("Fault tables", holds::fault_table) +
                                             "|All files (*.*)|*.*";

// A rejected fault file: the file, line and reason, and that the loaded faults stay.
std::string fault_file_error_text(const input_error& e);

// The lines of tolvex.conf whose values were ignored, one per line after a heading.
std::string config_problems_text(const std::vector<input_error>& problems);

// The fault list's column headers, over the columns of fault_list_line.
std::string fault_list_header();

inline const std::string viewer_failure_text =
    "The 3-D viewer could not be opened (no display?). The forward tracers can still be saved.";

} // namespace tolvex
