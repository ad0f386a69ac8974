// Where the program's own files are: the folder of the running executable.
#pragma once

#include <string>

namespace tolvex {

// Folder that holds the running executable (from /proc/self/exe), without a trailing separator.
std::string executable_dir();

// name as it stands when it is an absolute path or dir is empty, otherwise dir, the platform's
// separator, name.
// Any length; nothing is cut.
std::string join_path(const std::string& dir, const std::string& name);

} // namespace tolvex
