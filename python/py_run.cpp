#include "python/py_run.hpp"

#include "model/boundary_reach.hpp"

#include "config/conf_run_files.hpp"
#include "formats/fault_file.hpp"
#include "geometry/vector_utils.hpp"
#include "python/array_convert.hpp"
#include "python/py_errors.hpp"
#include "python/py_fault.hpp"
#include "python/py_horizon.hpp"
#include "python/py_progress.hpp"
#include "python/py_reading.hpp"
#include "python/py_result.hpp"
#include "python/scalar_convert.hpp"

#include <filesystem>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>
#include <utility>

namespace tolvex {

namespace py = pybind11;

namespace {

constexpr const char* run_doc =
    R"(run(boundary, faults, tracers=None, steps=False, *, progress=None, horizons=None,
    coordinates='centred', present_horizons=None, undeformed_horizons=None)
--

Runs the model: restores it fault by fault, then runs it forward. Returns a Result.

Arguments
  boundary  a Block, the model volume: one convex polyhedron in model units (read_boundary,
            boundary_from_arrays).
  faults    an iterable of Fault (read_faults, faults_from_arrays, Fault(...)), their points in
            the boundary's coordinates. Their order does not matter: the restoration applies
            them by descending sequence number (equal numbers in the order given), the forward
            run in the reverse order.
  tracers   an (N, 3) array of real numbers in model units, relative to the centre of the
            boundary (the mean of its vertices), as read_tracers gives them; None for none.
  steps     True records every step of both runs in RunState.steps.
  progress  None, or a callable progress(done, total) called after each fault of either run:
            done counts the faults applied so far (1..total), total is 2 * len(faults) (each
            fault cuts once in each run). An exception it raises stops the run and is raised.
  horizons  None, a list of Horizon (read_horizons, Horizon(...)) or the path of a horizon
            file, in the boundary's coordinates (not relative to its centre). Each run cuts
            them with its blocks: RunState.horizons (and Step.horizons) hold the pieces. A
            horizon of which nothing lies inside the boundary gives a UserWarning. Both runs
            carry these: give horizons that are one run's state as one of the next two.
  present_horizons  as horizons, the present-day state: only the restoration carries them
            (restoring them), so the forward run does not deform them a second time.
  undeformed_horizons  as horizons, the undeformed state: only the forward run carries them.
            Either of these with horizons is a ValueError; step labels name the set a run shows.
  coordinates  'centred' (the default): blocks, tracers and fault points of the Result are
            relative to result.centre. 'boundary': they are in the boundary file's own
            coordinates, as horizons, fault surfaces and sections are, so that all of them
            overlay directly (tolvex.mesh of such blocks is too). The files written are the
            same either way.

What it does
  The boundary and the fault points are moved so that the mean of the boundary's vertices is
  the origin; the tracers already are relative to it. The restoration run cuts the boundary by
  each fault in turn, youngest first: every block the plane crosses splits in two, and the half
  on the side the normal points to moves by -slip_direction * slip_magnitude, with the tracers
  and fault points inside it. The forward run starts again from the undivided boundary and the
  given tracers and applies the faults oldest first with the slip as given, from the points
  where the restoration left them. Nothing is read or written; the arguments are not changed.

Returns
  a Result: result.forward and result.restored are RunStates with tracers ((N, 3) float64,
  row i is tracer i moved), blocks (list of Block), faults (list of Fault as applied, points
  moved), horizons and fault_surfaces (lists of Surface) and steps; result.boundary,
  result.centre and result.warnings. Blocks, tracers and fault points are relative to
  result.centre; horizons and fault surfaces are in the boundary's own coordinates.
  RunState.save_tracers and save_blocks, tolvex.save_horizons and save_fault_surfaces write
  them.

Errors
  TypeError for an argument of the wrong type or kind of number, ValueError for a wrong shape,
  a number that is not finite or a boundary without vertices. A fault whose slip direction is
  not a unit vector in its plane is used as given, with a tolvex.SlipWarning.

Threads and Ctrl-C
  The interpreter lock is released while the model is cut, so other Python threads go on
  meanwhile; results do not depend on what other threads run. Between faults the main thread
  takes the lock back briefly to look for a signal: Ctrl-C stops the run with KeyboardInterrupt.

Example
  boundary = tolvex.read_boundary('examples/box.boundary')
  faults = tolvex.read_faults('examples/graben.efd')
  tracers = tolvex.read_tracers('examples/layers.tracers', tracer_radius=100.0)
  result = tolvex.run(boundary, faults, tracers)
  print(result.forward.tracers[0])           # where tracer 0 ends up, model units
  result.forward.save_tracers('forward.txt', tracer_radius=100.0))";

constexpr const char* run_files_doc =
    R"(run_files(config=None, faults=None, *, boundary=None, tracers=None, tracer_radius=None,
          steps=False, progress=None, horizons=None, coordinates='centred',
          present_horizons=None, undeformed_horizons=None)
--

Runs the model on files, as tolvex-batch does. Returns a Result.

Arguments (paths are str or os.PathLike)
  config         a tolvex.conf; the boundary and tracer file names in it are relative to its
                 folder, and it gives the tracer radius.
  faults         the fault data file (required).
  boundary       the boundary file; overrides the config's.
  tracers        the tracer file; overrides the config's.
  tracer_radius  the tracer files' scale; overrides the config's (100 without either).
  steps          as for run.
  progress       as for run.
  horizons       as for run: a horizon file (warnings about it are UserWarnings), or Horizons;
                 None takes the config's HORIZON_FILE= (none without it), [] none at all.
  present_horizons, undeformed_horizons
                 as for run; None for all three takes the config's HORIZON_FILE=,
                 PRESENT_HORIZON_FILE= and UNDEFORMED_HORIZON_FILE=, and any of them given
                 replaces all three of the config's.
  coordinates    as for run.
Give config, or both boundary and tracers. config and faults may be given by position.

Reads the files, then does what run does; the Result's RunStates remember the tracer radius,
so save_tracers needs none. Errors are those of the readers (tolvex.InputError naming file,
line and reason; the OSError of a file that cannot be opened) and of run; SlipWarning texts
start with the fault file's path.

Example
  result = tolvex.run_files('examples/tolvex.conf', 'examples/graben.efd')
  result.forward.save_tracers('forward.txt'))";

run_output run_inputs(block boundary, std::vector<fault> faults, const point_list& tracers,
                      run_options options, bool steps, const fault_fn& on_fault,
                      bool boundary_frame) {
    run_output out;
    out.boundary_frame = boundary_frame;
    out.centre = boundary.vertices.empty() ? make_vec3(0.0, 0.0, 0.0) : centroid(boundary.vertices);
    options.on_fault = on_fault;
    if (steps)
        options.on_change = step_recorder(out);
    out.result = run_model(std::move(boundary), std::move(faults), tracers, std::move(options));
    return out;
}

py::object finished(run_output&& out, const std::string& warning_prefix) {
    for (const std::string& w : out.result.warnings)
        warn_slip(warning_prefix + w);
    // A horizon outside the boundary is input used as given, not a doubtful fault.
    for (const std::string& w : out.result.horizon_warnings)
        warn_input(w);
    return result_object(std::move(out));
}

py::object run(py::handle boundary, py::handle faults, py::handle tracers, bool steps,
               py::handle progress, py::handle horizons, py::handle coordinates,
               py::handle present_horizons, py::handle undeformed_horizons) {
    const bool boundary_frame = boundary_frame_named(coordinates);
    if (!py::isinstance<block>(boundary))
        throw py::type_error(
            "boundary: expected a tolvex.Block (read_boundary, boundary_from_arrays), got " +
            type_name(boundary));
    std::vector<fault> loaded = faults_for_run(faults);
    const point_list points =
        tracers.is_none() ? point_list{} : points_from_array(tracers, "tracers");
    run_options given;
    put_run_horizons(given, horizons, present_horizons, undeformed_horizons);
    block b = boundary.cast<block>();
    const fault_fn on_fault = python_fault_hook(progress);
    run_output out;
    {
        py::gil_scoped_release nogil;
        out = run_inputs(std::move(b), std::move(loaded), points, std::move(given), steps, on_fault,
                         boundary_frame);
    }
    // Tracers are relative to the boundary's centre, as the run's boundary is.
    if (const points_outside outside = points_outside_boundary(out.result.boundary, points);
        outside.count > 0)
        warn_input("tracers: " + std::to_string(outside.count) +
                   " rows lie outside the boundary, the first is row " +
                   std::to_string(outside.first) +
                   "; tracers are relative to the boundary's centre");
    return finished(std::move(out), "");
}

using optional_path = std::optional<std::filesystem::path>;

// A path argument as str or os.PathLike, none for None; a TypeError naming the parameter else.
optional_path path_argument(py::handle value, const char* name) {
    if (value.is_none())
        return std::nullopt;
    if (!py::isinstance<py::str>(value) && !py::hasattr(value, "__fspath__"))
        throw py::type_error(std::string(name) + ": expected a path (str or os.PathLike), got " +
                             type_name(value));
    return value.cast<std::filesystem::path>();
}

run_files files_to_read(const optional_path& config, const optional_path& boundary,
                        const optional_path& tracers, std::optional<double> tracer_radius) {
    if (!config && (!boundary || !tracers))
        throw py::value_error("run_files: give config, or both boundary and tracers");
    const tolvex_conf settings = config ? read_settings(config->string()) : tolvex_conf{};
    // The settings' file names are relative to the settings file's folder.
    const std::string folder = config ? config->parent_path().string() : "";
    run_files files = chosen_run_files(
        settings, folder,
        {boundary ? boundary->string() : "", tracers ? tracers->string() : "", tracer_radius});
    files.tracer_radius = checked_radius(files.tracer_radius);
    return files;
}

py::object run_from_files(py::handle config_path, py::handle fault_path, py::handle boundary_path,
                          py::handle tracer_path, py::handle tracer_radius, bool steps,
                          py::handle progress, py::handle horizons, py::handle coordinates,
                          py::handle present_horizons, py::handle undeformed_horizons) {
    const optional_path config = path_argument(config_path, "config");
    const optional_path fault_file = path_argument(fault_path, "faults");
    const optional_path boundary = path_argument(boundary_path, "boundary");
    const optional_path tracers = path_argument(tracer_path, "tracers");
    if (!fault_file)
        throw py::type_error("run_files() missing the argument 'faults', the fault data file");
    const std::filesystem::path& faults = *fault_file;
    const bool boundary_frame = boundary_frame_named(coordinates);
    const run_files files = files_to_read(config, boundary, tracers,
                                          optional_real_from_value(tracer_radius, "tracer_radius"));
    // Without horizons given, the settings' horizon files are read, as tolvex-batch does.
    const auto configured = [](const std::string& path) {
        return path.empty() ? py::object(py::none()) : py::object(py::str(path));
    };
    run_options given;
    if (horizons.is_none() && present_horizons.is_none() && undeformed_horizons.is_none())
        put_run_horizons(given, configured(files.horizon_path),
                         configured(files.present_horizon_path),
                         configured(files.undeformed_horizon_path));
    else
        put_run_horizons(given, horizons, present_horizons, undeformed_horizons);
    const fault_fn on_fault = python_fault_hook(progress);
    std::optional<std::vector<fault>> loaded;
    std::optional<std::string> missing, aborted;
    run_output out;
    std::vector<std::string> notes;
    {
        py::gil_scoped_release nogil;
        loaded = read_fault_file(faults.string(),
                                 [&](const std::string& text) { notes.push_back(text); });
        if (loaded) {
            try {
                point_list points;
                block b = read_run_inputs(files, {}, points,
                                          [&](const std::string& text) { notes.push_back(text); });
                out = run_inputs(std::move(b), std::move(*loaded), points, std::move(given), steps,
                                 on_fault, boundary_frame);
            } catch (const missing_input_file& e) {
                missing = e.path();
            } catch (const run_aborted& e) {
                aborted = e.what();
            }
        }
    }
    if (!loaded)
        raise_cannot_open(faults.string());
    if (missing)
        raise_cannot_open(*missing);
    if (aborted)
        throw input_error(files.boundary_path, 0, "no vertices, so there is no model to cut");
    for (const std::string& text : notes)
        warn_input(text);
    out.tracer_radius = files.tracer_radius;
    return finished(std::move(out), faults.string() + ": ");
}

} // namespace

void add_run(py::module_& m) {
    m.def("run", &run, run_doc, py::arg("boundary"), py::arg("faults"),
          py::arg("tracers") = py::none(), py::arg("steps") = false, py::kw_only(),
          py::arg("progress") = py::none(), py::arg("horizons") = py::none(),
          py::arg("coordinates") = "centred", py::arg("present_horizons") = py::none(),
          py::arg("undeformed_horizons") = py::none());
    m.def("run_files", &run_from_files, run_files_doc, py::arg("config") = py::none(),
          py::arg("faults") = py::none(), py::kw_only(), py::arg("boundary") = py::none(),
          py::arg("tracers") = py::none(), py::arg("tracer_radius") = py::none(),
          py::arg("steps") = false, py::arg("progress") = py::none(),
          py::arg("horizons") = py::none(), py::arg("coordinates") = "centred",
          py::arg("present_horizons") = py::none(), py::arg("undeformed_horizons") = py::none());
}

} // namespace tolvex
