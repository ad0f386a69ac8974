// Where a write to a path lands, and whether two paths name one file.
#pragma once

#include <string>

namespace tolvex {

// The file that writing to path changes: path itself, or for a symbolic link the file at the end
// of its chain of links, also when that file does not exist yet. Throws output_error naming path
// when the links go round in a loop.
std::string written_file(const std::string& path);

// Whether a and b name one file: by device and inode when both exist, by their absolute paths
// with links followed and "." and ".." resolved when neither does; never when only one exists.
bool same_file(const std::string& a, const std::string& b);

} // namespace tolvex
