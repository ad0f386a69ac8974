// Writing a whole file so that readers only ever see the old file or the complete new one.
#pragma once

#include <string>

namespace tolvex {

// Writes content to a temporary file in the folder of path, then renames it over path. On any
// failure throws output_error naming path; an old file stays as it was and no temporary file is
// left behind.
void write_file_atomically(const std::string& path, const std::string& content);

} // namespace tolvex
