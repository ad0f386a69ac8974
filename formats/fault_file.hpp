// The fault data file: one tab-separated line of 18 fields per fault.
#pragma once

#include "geometry/fault.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tolvex {

// Reads the fault data file at path and returns its faults sorted by descending sequence number.
// nullopt when the file does not exist. Throws input_error when it cannot be read (line 0, with
// the system's reason) and on the first bad data line (path, line, field).
std::optional<std::vector<fault>> read_fault_file(const std::string& path);

// The same for text already read from the file at path (path only names it in errors).
std::vector<fault> parse_fault_text(const std::string& text, const std::string& path);

// The fault's line in the fault list: "%10d %5.1f %4.1f %5.1f %4.1f %s %5d" as the C locale
// writes it, whatever the process locale; never cut.
std::string fault_list_line(const fault& f);

} // namespace tolvex
