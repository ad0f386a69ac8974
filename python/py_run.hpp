// The model run from Python: run on values, run_files on the files tolvex-batch reads.
#pragma once

#include <pybind11/pybind11.h>

namespace tolvex {

// Adds run and run_files to m.
void add_run(pybind11::module_& m);

} // namespace tolvex
