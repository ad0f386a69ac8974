#include "python/py_progress.hpp"

#include "python/py_errors.hpp"

namespace tolvex {

namespace py = pybind11;

fault_fn python_fault_hook(py::handle progress) {
    if (!progress.is_none() && !PyCallable_Check(progress.ptr()))
        throw py::type_error("progress: expected None or a callable (done, total), got " +
                             type_name(progress));
    // Python delivers signals to the main thread only; elsewhere the check would find none.
    const py::module_ threading = py::module_::import("threading");
    const bool main = threading.attr("current_thread")().is(threading.attr("main_thread")());
    if (!main && progress.is_none())
        return {};
    // The model calls again with the same count while it builds blocks; progress hears each
    // count once.
    return [progress, main, told = std::size_t{0}](std::size_t done, std::size_t total) mutable {
        py::gil_scoped_acquire gil;
        if (main && PyErr_CheckSignals() != 0)
            throw py::error_already_set();
        if (!progress.is_none() && done != told) {
            told = done;
            progress(done, total);
        }
    };
}

} // namespace tolvex
