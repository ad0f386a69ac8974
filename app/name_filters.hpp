// File-dialog filters written as "description|patterns|description|patterns" (patterns separated
// by ";"): made from the table of formats, and turned into the name filters a Qt dialog takes.
#pragma once

#include <string>
#include <vector>

namespace tolvex {

// One "description (pattern pattern)" entry per pair, in order; the dialog is meant to hide the
// pattern part, so the description shows exactly as written. "*.*" becomes "*", because on
// Linux "*.*" would miss the files without a dot that it stands for.
std::vector<std::string> dialog_name_filters(const std::string& filter);

// "description (*.a;*.b)|*.a;*.b" for the endings that read as one of contents (holds:: bits), in
// the order of the table of formats.
std::string read_filter(const std::string& description, unsigned contents);

} // namespace tolvex
