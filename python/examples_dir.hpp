// Where the module's example files are: the installed ones first, so an installed module never
// depends on the machine it was built on.
#pragma once

#include <functional>
#include <string>

namespace tolvex {

// The examples installed with the module at module_file (share/tolvex/examples under the prefix
// whose lib/python3.../...-packages holds it), else source_examples, the source tree's, when
// exists says so. Throws std::runtime_error naming both places when neither exists.
std::string examples_dir_for(const std::string& module_file, const std::string& source_examples,
                             const std::function<bool(const std::string&)>& exists);

} // namespace tolvex
