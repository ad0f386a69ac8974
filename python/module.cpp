// The Python module tolvex: the model run with NumPy arrays in and out.
#include "py_block.hpp"
#include "py_errors.hpp"
#include "py_fault.hpp"
#include "py_mesh.hpp"
#include "py_reading.hpp"
#include "py_result.hpp"
#include "py_run.hpp"

namespace {

constexpr const char* module_doc = R"(Fault-block models with NumPy arrays in and out.

A model is a boundary (one convex polyhedron, a Block), faults (Fault records: a plane, a slip
and a sequence number) and tracers (an (N, 3) float64 array of marker points, model units,
relative to the boundary's centre). run() restores the model fault by fault, youngest first,
then runs it forward from the undivided boundary, oldest first, and returns both results.

Reading: read_boundary, read_faults, read_tracers, read_config. From arrays:
boundary_from_arrays, faults_from_arrays, Fault(...). Running: run, run_files. Writing:
RunState.save_tracers, RunState.save_blocks. Errors: InputError (a ValueError naming file, line
and reason), OSError for files, TypeError and ValueError for arguments; SlipWarning for doubtful
faults.

Example:
    import tolvex
    result = tolvex.run_files('examples/tolvex.conf', faults='examples/graben.efd')
    print(len(result.forward.blocks), result.forward.tracers.shape))";

} // namespace

PYBIND11_MODULE(tolvex, m) {
    // Every docstring starts with the call as Python users write it.
    pybind11::options options;
    options.disable_function_signatures();
    m.doc() = module_doc;
    m.attr("__version__") = TOLVEX_VERSION;
    tolvex::add_error_types(m);
    tolvex::add_fault_type(m);
    tolvex::add_block_type(m);
    tolvex::add_mesh(m);
    tolvex::add_readers(m);
    tolvex::add_result_types(m);
    tolvex::add_run(m);
}
