#include "python/py_errors.hpp"

#include "io/input_error.hpp"
#include "model/model_run.hpp"

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace tolvex {

namespace py = pybind11;

namespace {

// Owned by the module, which lives until the interpreter ends.
py::handle input_error_class;
py::handle slip_warning_class;

constexpr const char* input_error_doc =
    "A bad input file: raised by the readers and by run_files.\n\n"
    "A subclass of ValueError. str(e) reads 'path:line: reason' ('path: reason' when the\n"
    "problem is not on one line). Attributes: path (str), line (int, 1-based; 0 for the whole\n"
    "file) and reason (str). Nothing of the file was kept.";

constexpr const char* slip_warning_doc =
    "A doubtful fault: a slip direction that is not a unit vector or leaves the fault plane, or\n"
    "a plane that misses the boundary.\n\n"
    "A subclass of UserWarning, issued by run and run_files through the warnings module. The run\n"
    "uses the fault as given: the displacement is slip_direction * slip_magnitude.\n"
    "warnings.simplefilter('error', tolvex.SlipWarning) turns it into an error.";

void set_input_error(const input_error& e) {
    py::object error = py::reinterpret_borrow<py::object>(input_error_class)(e.what());
    error.attr("path") = e.path();
    error.attr("line") = e.line();
    error.attr("reason") = e.reason();
    PyErr_SetObject(input_error_class.ptr(), error.ptr());
}

// The errno of opening path for reading; EIO when it opens now after a reader could not.
int open_errno(const std::string& path) {
    errno = 0;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        std::error_code ec;
        return std::filesystem::is_directory(path, ec) ? EISDIR : EIO;
    }
    return errno != 0 ? errno : EIO;
}

} // namespace

void add_error_types(py::module_& m) {
    input_error_class =
        PyErr_NewExceptionWithDoc("tolvex.InputError", input_error_doc, PyExc_ValueError, nullptr);
    slip_warning_class = PyErr_NewExceptionWithDoc("tolvex.SlipWarning", slip_warning_doc,
                                                   PyExc_UserWarning, nullptr);
    if (!input_error_class || !slip_warning_class)
        throw py::error_already_set();
    m.attr("InputError") = input_error_class;
    m.attr("SlipWarning") = slip_warning_class;
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p)
                std::rethrow_exception(p);
        } catch (const open_error& e) {
            // The OSError subclass of the errno, as for a file that does not exist.
            errno = e.error_number();
            PyErr_SetFromErrnoWithFilename(PyExc_OSError, e.path().c_str());
        } catch (const input_error& e) {
            set_input_error(e);
        } catch (const output_error& e) {
            PyErr_SetString(PyExc_OSError, e.what());
        } catch (const run_aborted& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        }
    });
}

void raise_cannot_open(const std::string& path) {
    errno = open_errno(path);
    PyErr_SetFromErrnoWithFilename(PyExc_OSError, path.c_str());
    throw py::error_already_set();
}

std::string type_name(py::handle value) {
    return py::str(value.get_type().attr("__name__"));
}

void warn_slip(const std::string& text) {
    if (PyErr_WarnEx(slip_warning_class.ptr(), text.c_str(), 1) != 0)
        throw py::error_already_set();
}

void warn_input(const std::string& text) {
    if (PyErr_WarnEx(PyExc_UserWarning, text.c_str(), 1) != 0)
        throw py::error_already_set();
}

} // namespace tolvex
