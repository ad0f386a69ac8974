// Turns a file-dialog filter written as "description|patterns|description|patterns" (patterns
// separated by ";") into the name filters a Qt file dialog takes.
#pragma once

#include <string>
#include <vector>

namespace tolvex {

// One "description (pattern pattern)" entry per pair, in order; the dialog is meant to hide the
// pattern part, so the description shows exactly as written. "*.*" becomes "*", because on
// Linux "*.*" would miss the files without a dot that it stands for.
std::vector<std::string> dialog_name_filters(const std::string& filter);

} // namespace tolvex
