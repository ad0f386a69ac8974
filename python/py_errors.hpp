// How the project's errors and warnings reach Python: tolvex.InputError (a ValueError with the
// path, line and reason of a bad input file), OSError for files that cannot be opened or written,
// ValueError for a run that cannot go on, and tolvex.SlipWarning through the warnings module.
#pragma once

#include <pybind11/pybind11.h>
#include <string>

namespace tolvex {

// Adds InputError and SlipWarning to m and registers the translation of input_error,
// output_error and run_aborted.
void add_error_types(pybind11::module_& m);

// Raises the OSError subclass that opening path for reading gives (FileNotFoundError,
// PermissionError, ...), with path as its filename.
[[noreturn]] void raise_cannot_open(const std::string& path);

// The name of value's type, for messages about a wrong argument.
std::string type_name(pybind11::handle value);

// Issues text as a tolvex.SlipWarning; throws error_already_set when warnings are errors.
void warn_slip(const std::string& text);

// Issues text, about input used as given, as a UserWarning; likewise.
void warn_input(const std::string& text);

} // namespace tolvex
