// The Python module tolvex: the model run with NumPy arrays in and out.
#include "config/settings_location.hpp"
#include "python/examples_dir.hpp"
#include "python/py_block.hpp"
#include "python/py_errors.hpp"
#include "python/py_fault.hpp"
#include "python/py_fault_terms.hpp"
#include "python/py_fit.hpp"
#include "python/py_horizon.hpp"
#include "python/py_mesh.hpp"
#include "python/py_reading.hpp"
#include "python/py_result.hpp"
#include "python/py_run.hpp"
#include "python/py_section.hpp"
#include "python/py_surface.hpp"
#include "python/py_surface_save.hpp"

#include <string>

namespace {

constexpr const char* module_doc = R"(Fault-block models with NumPy arrays in and out.

A model is a boundary (one convex polyhedron, a Block), faults (Fault records: a plane, a slip
and a sequence number) and tracers (an (N, 3) float64 array of marker points, model units,
relative to the boundary's centre), optionally with horizons (Horizon: triangulated surfaces in
the boundary's own coordinates). run() restores the model fault by fault, youngest first,
then runs it forward from the undivided boundary, oldest first, and returns both results.

Reading: read_boundary, read_faults, read_tracers, read_horizons, read_config (examples_dir()
has examples). From arrays: boundary_from_arrays, faults_from_arrays, Fault(...),
Horizon(...). Running: run, run_files (Ctrl-C stops them; progress=callable reports each
fault; horizons=... cuts horizons too). Meshes: mesh(blocks), RunState.tracer_blocks; Surface
for RunState.horizons and fault_surfaces. Writing: RunState.save_tracers,
RunState.save_blocks, save_horizons, save_fault_surfaces. Sections:
section, save_section. Errors: InputError (a ValueError naming file, line and reason), OSError
for files, TypeError, ValueError and OverflowError for arguments; SlipWarning for doubtful
faults. Faults, blocks, horizons, surfaces, results and settings can be pickled and copied.

Example:
    import os, tolvex
    examples = tolvex.examples_dir()
    result = tolvex.run_files(os.path.join(examples, 'tolvex.conf'),
                              faults=os.path.join(examples, 'graben.efd'))
    print(len(result.forward.blocks), result.forward.tracers.shape))";

constexpr const char* examples_dir_doc = R"(examples_dir()
--

The folder of the example files (box.boundary, graben.efd, layers.tracers, horizons.ts,
tolvex.conf), so that examples run from any folder: the one installed with the module
(PREFIX/share/tolvex/examples), else that of the source tree the module was built from.
Raises FileNotFoundError when neither is there.)";

} // namespace

PYBIND11_MODULE(tolvex, m) {
    // Every docstring starts with the call as Python users write it.
    pybind11::options options;
    options.disable_function_signatures();
    m.doc() = module_doc;
    m.attr("__version__") = TOLVEX_VERSION;
    tolvex::add_error_types(m);
    tolvex::add_fault_type(m);
    tolvex::add_fault_terms(m);
    tolvex::add_block_type(m);
    tolvex::add_horizon_type(m);
    tolvex::add_surface_type(m);
    tolvex::add_mesh(m);
    tolvex::add_readers(m);
    tolvex::add_result_types(m);
    tolvex::add_run(m);
    tolvex::add_fit(m);
    tolvex::add_section(m);
    tolvex::add_surface_savers(m);
    m.def(
        "examples_dir",
        [m] {
            try {
                return tolvex::examples_dir_for(m.attr("__file__").cast<std::string>(),
                                                TOLVEX_EXAMPLES_DIR, tolvex::path_exists);
            } catch (const std::runtime_error& e) {
                PyErr_SetString(PyExc_FileNotFoundError, e.what());
                throw pybind11::error_already_set();
            }
        },
        examples_dir_doc);

    // Everything above but the version: what "from tolvex import *" gives.
    pybind11::list names;
    for (const auto& [name, value] : m.attr("__dict__").cast<pybind11::dict>()) {
        const auto text = name.cast<std::string>();
        if (!text.starts_with("_"))
            names.append(text);
    }
    m.attr("__all__") = names;
}
