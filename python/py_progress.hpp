// What a run does between faults on Python's behalf: take a pending Ctrl-C and report progress.
#pragma once

#include "model/model_run.hpp"

#include <pybind11/pybind11.h>

namespace tolvex {

// The per-fault hook of a run started with the interpreter lock held, to be called without it.
// It takes the lock only for its own work: on the main thread it raises a pending signal's
// exception (KeyboardInterrupt for Ctrl-C), and it calls progress(done, total) unless progress is
// None; either exception stops the run. Empty when there is nothing to do (another thread, no
// progress). progress must outlive the run; TypeError when it is neither None nor callable.
fault_fn python_fault_hook(pybind11::handle progress);

} // namespace tolvex
