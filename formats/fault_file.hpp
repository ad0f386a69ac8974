// The fault data file: one tab-separated line of 18 fields per fault; or, for a path ending in
// ".csv", a fault table (fault_table.hpp).
#pragma once

#include "formats/fault_table.hpp"
#include "geometry/fault.hpp"
#include "io/input_error.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tolvex {

// Reads the fault data file (or fault table) at path and returns its faults sorted by descending
// sequence number. nullopt when the file does not exist. Throws input_error when it cannot be read
// (line 0, with the system's reason) and on the first bad data line (path, line, field). warn,
// when set, receives "path:line: reason" for each line whose angles disagree with its vectors.
// planes go to a fault table's reader (parse_fault_table).
std::optional<std::vector<fault>> read_fault_file(const std::string& path, const warn_fn& warn = {},
                                                  const fault_planes* planes = nullptr);

// The same for text already read from the fault data file at path (path only names it).
std::vector<fault> parse_fault_text(const std::string& text, const std::string& path,
                                    const warn_fn& warn = {});

// The fault data file that reads back as faults: a heading comment and one line per fault, the
// numbers in their shortest exact text. Throws output_error naming a fault whose name is empty,
// starts with "#" or holds a tab or line break, or whose tag holds one: its line would not read
// back.
std::string fault_file_text(const std::vector<fault>& faults);

// faults as the file at path holds them: a fault table for ".csv", else a fault data file. Throws
// output_error starting with path when the form cannot hold a fault.
std::string faults_text_for(const std::string& path, const std::vector<fault>& faults);

// The fault's line in the fault list: "%10d %5.1f %4.1f %5.1f %4.1f %s %5d" as the C locale
// writes it, whatever the process locale; never cut.
std::string fault_list_line(const fault& f);

} // namespace tolvex
