// Writing a whole file so that readers only ever see the old file or the complete new one.
#pragma once

#include <string>

namespace tolvex {

// Writes content to a temporary file beside the file path names, then renames it over that file,
// as staged_files does for one file: a symbolic link is written through, a device or pipe is
// written into and never replaced, an existing file keeps its permission bits, a file the user
// may not write is refused. On any failure throws output_error naming path; an old file stays as
// it was and no temporary file is left behind.
void write_file_atomically(const std::string& path, const std::string& content);

} // namespace tolvex
