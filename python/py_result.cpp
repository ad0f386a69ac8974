#include "python/py_result.hpp"

#include "formats/block_export.hpp"
#include "formats/tracer_file.hpp"
#include "geometry/fault_surfaces.hpp"
#include "model/fault_cutoffs.hpp"
#include "model/fault_label.hpp"
#include "python/array_convert.hpp"
#include "python/py_cutoffs.hpp"
#include "python/py_errors.hpp"
#include "python/py_mesh.hpp"
#include "python/py_reading.hpp"
#include "python/py_state.hpp"
#include "python/py_surface.hpp"
#include "python/scalar_convert.hpp"

#include <algorithm>
#include <filesystem>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

namespace tolvex {

namespace py = pybind11;

namespace {

constexpr const char* result_doc = R"(What run and run_files return.

restored   RunState of the restoration run (faults youngest first, slip reversed)
forward    RunState of the forward run (from the undivided boundary, oldest fault first)
boundary   the boundary as the runs started from it: a Block centred on the mean of its vertices
           (where it stands in its file with coordinates='boundary')
centre     (3,) float64, that mean in the boundary's own coordinates; add it to the blocks' and
           tracers' coordinates for the boundary's frame (horizons and fault surfaces have it),
           or ask run or run_files for coordinates='boundary')
warnings   list of str, the doubtful faults (also issued as SlipWarning))";

constexpr const char* state_doc = R"(The model after one cutting run.

Read-only attributes in model units. Blocks, tracers and fault points are relative to the
boundary's centre (Result.centre), or in the boundary file's coordinates for a run with
coordinates='boundary'; horizons and fault surfaces are in the boundary file's
coordinates, as the horizons were given and as the files are written.

tracers         (N, 3) float64, row i the i-th tracer given to the run, moved with its block
tracer_blocks   (N,) int64, the position in blocks of the block holding each tracer (-1: none)
blocks          list of Block (tolvex.mesh(state.blocks) for one mesh of them)
faults          list of Fault in the order the run applied them, each point where the run left it
horizons        list of Surface, one per horizon given (in its order): its pieces in the blocks
fault_surfaces  list of Surface, one per side of each fault that cut a block ('+' first): the
                faces the fault made, as their blocks now stand
cutoffs         (M, 9) float64, one row per straight piece of a line where a horizon meets a
                fault wall: fault identifier, horizon position, wall (1 hanging wall, -1
                footwall), then its two ends x, y, z in the boundary's coordinates
separations     (S, 6) float64, one row per horizon, fault and station every 1/50 of the
                fault's extent along strike: fault identifier, horizon position, along-strike
                position from the fault's point, throw, heave, dip separation (hanging wall
                less footwall: throw positive where the hanging wall is down)
steps           None, or with run(..., steps=True) the list of Step 0..n of this run

Methods: save_tracers(path, tracer_radius=None) and save_blocks(path); tolvex.save_horizons
and tolvex.save_fault_surfaces write horizons and fault surfaces.)";

constexpr const char* step_doc = R"(One state of a cutting run.

step     0 for the undivided boundary with the initial tracers, k for the model after the k-th
         fault of the run
fault    None for step 0, otherwise the Fault that cut (its point as it was when it cut)
blocks   list of Block
tracers  (N, 3) float64
tracer_blocks  (N,) int64, as RunState.tracer_blocks
horizons       list of Surface, the horizons' pieces in this step's blocks, as
               RunState.horizons (empty when the run had no horizons))";

constexpr const char* save_tracers_doc = R"(save_tracers(self, path, tracer_radius=None)
--

Writes the tracers as a tracer file.

One '%15.8f %15.8f %15.8f' line per tracer, each coordinate divided by tracer_radius (the
tracer files' scale). None takes the radius run_files read the tracers with; a result of run()
has none, so give it there. The file is complete before it replaces an old one; the
coordinates are relative to the centre whatever the result's coordinates. Raises ValueError
for a radius that is not a positive finite number or a run without tracers, OSError when the file cannot be
written (an old file stays as it was).)";

constexpr const char* save_blocks_doc = R"(save_blocks(self, path)
--

Writes the blocks for other programs.

Wavefront OBJ when path ends in '.obj', VTK legacy polydata (ParaView) otherwise: every block's
points, one polygon per face, the block's position in the list as cell scalar 'block' and the
face normals. Complete or not at all; raises OSError when the file cannot be written.)";

fault as_loaded(fault f, run_kind run, const vec3& offset) {
    // The forward run holds each slip as the file gives it; a Fault holds the restoring one.
    if (run == run_kind::forward)
        f.slip_dir = -f.slip_dir;
    f.point += offset;
    return f;
}

std::vector<block> moved(std::vector<block>&& blocks, const vec3& offset) {
    for (block& b : blocks)
        for (vec3& v : b.vertices)
            v += offset;
    return std::move(blocks);
}

point_list moved(point_list&& points, const vec3& offset) {
    for (vec3& p : points)
        p += offset;
    return std::move(points);
}

py::list block_list(std::vector<block>&& blocks) {
    py::list out;
    for (block& b : blocks) {
        out.append(py::cast(std::move(b)));
        // Many blocks take a while: Ctrl-C is heard meanwhile too.
        if (out.size() % 4096 == 0 && PyErr_CheckSignals() != 0)
            throw py::error_already_set();
    }
    return out;
}

py::list fault_list(std::vector<fault>&& faults, run_kind run, const vec3& offset) {
    py::list out;
    for (fault& f : faults)
        out.append(py::cast(as_loaded(std::move(f), run, offset)));
    return out;
}

// The Surfaces of the horizons run carries, out of one per horizon given: a run shows only its
// own set.
py::list carried_surfaces(const py::list& all, const std::vector<horizon_set>& sets, run_kind run) {
    py::list out;
    for (std::size_t h = 0; h < sets.size(); ++h)
        if (carries(run, sets[h]))
            out.append(all[h]);
    return out;
}

py::object step_list(const std::shared_ptr<kept_steps>& steps, run_kind run,
                     const model_result& result, const vec3& centre, const vec3& offset) {
    if (!steps)
        return py::none();
    py::list out;
    for (std::size_t k = 0; k < steps->history.steps.size(); ++k) {
        history_step& s = steps->history.steps[k];
        out.append(py::cast(
            step_view{k, s.applied ? py::cast(as_loaded(*s.applied, run, offset)) : py::none(),
                      py::none(), py::none(),
                      carried_surfaces(horizon_surface_list(s.horizons, result.horizons, centre),
                                       result.horizon_sets, run),
                      centre, steps, k, offset}));
        s.horizons = {}; // made into Surfaces above
    }
    return out;
}

// A Step's blocks, made from its run's kept steps the first time.
py::list step_blocks_of(step_view& s) {
    if (s.blocks.is_none())
        s.blocks = block_list(moved(blocks_of(*s.kept, s.index), s.offset));
    return py::reinterpret_borrow<py::list>(s.blocks);
}

py::array_t<double> step_tracers_of(step_view& s) {
    if (s.tracers.is_none())
        s.tracers = array_from_points(moved(point_list(s.kept->tracers[s.index]), s.offset));
    return s.tracers.cast<py::array_t<double>>();
}

state_view state_object(run_state&& state, run_kind run, const std::shared_ptr<kept_steps>& steps,
                        const run_output& out) {
    const vec3& centre = out.centre;
    const vec3 offset = out.boundary_frame ? centre : make_vec3(0.0, 0.0, 0.0);
    const std::vector<horizon>& horizons = out.result.horizons;
    py::list walls = fault_wall_list(fault_surfaces_of(state.blocks), state.faults, centre);
    const std::vector<cutoff_segment> cutoffs = cutoff_segments(state);
    py::array_t<double> cutoff_rows = cutoff_array(cutoffs, state.faults, centre);
    py::array_t<double> separation_rows =
        separation_array(separations_of(state, cutoffs), state.faults);
    return {block_list(moved(std::move(state.blocks), offset)),
            array_from_points(moved(std::move(state.tracers), offset)),
            fault_list(std::move(state.faults), run, offset),
            step_list(steps, run, out.result, centre, offset),
            out.tracer_radius,
            centre,
            carried_surfaces(horizon_surface_list(state.horizons, horizons, centre),
                             out.result.horizon_sets, run),
            walls,
            run,
            offset,
            cutoff_rows,
            separation_rows};
}

void save_tracers(const state_view& s, const std::filesystem::path& path,
                  py::handle tracer_radius) {
    const std::optional<double> given = optional_real_from_value(tracer_radius, "tracer_radius");
    const std::optional<double> radius = given ? given : s.tracer_radius;
    if (!radius)
        throw py::value_error("save_tracers: give tracer_radius, the scale of tracer files "
                              "(this result was made from arrays in model units)");
    if (s.tracers.shape(0) == 0)
        throw py::value_error("save_tracers: the run had no tracers, so there is nothing to "
                              "write to " +
                              path.string());
    // Tracer files are relative to the centre, whatever coordinates the result was asked in.
    write_tracer_file(path.string(), moved(points_from_array(s.tracers, "tracers"), -s.offset),
                      checked_radius(*radius));
}

void save_blocks(const state_view& s, const std::filesystem::path& path) {
    std::vector<block> blocks;
    blocks.reserve(s.blocks.size());
    for (const py::handle b : s.blocks)
        blocks.push_back(b.cast<const block&>());
    // The list is in the order the run applied the faults; the file names them as loaded.
    std::vector<fault> loaded;
    for (const py::handle f : s.faults)
        loaded.push_back(f.cast<fault>());
    if (s.run == run_kind::forward)
        std::reverse(loaded.begin(), loaded.end());
    write_blocks_file(path.string(), moved(std::move(blocks), -s.offset), s.centre,
                      fault_order{s.run, s.faults.size(), fault_short_labels(loaded)});
}

// The tuple a pickle holds of a value of n members, after checking its length.
const py::tuple& state_of(const py::tuple& s, std::size_t n, const char* what) {
    if (s.size() != n)
        throw py::value_error(std::string(what) + " state: expected " + std::to_string(n) +
                              " values, got " + std::to_string(s.size()));
    return s;
}

py::array_t<double> points_state(py::handle points) {
    return array_from_points(points_from_array(points, "tracers"));
}

// A pickled list of Surface, checked to be one.
py::list surface_list_state(py::handle surfaces) {
    py::list out;
    for (const py::handle s : surfaces)
        out.append(py::cast(s.cast<const surface_view&>()));
    return out;
}

py::tuple step_state(step_view& s) {
    return py::make_tuple(s.step, s.fault, step_blocks_of(s), step_tracers_of(s), s.horizons,
                          array_from_vector(s.centre));
}

step_view step_from_state(const py::tuple& t) {
    const py::tuple& s = state_of(t, 6, "Step");
    return {s[0].cast<std::size_t>(),
            s[1],
            s[2].cast<py::list>(),
            points_state(s[3]),
            surface_list_state(s[4]),
            vector_from_array(s[5], "centre"),
            nullptr,
            0,
            make_vec3(0.0, 0.0, 0.0)}; // blocks and tracers are made already
}

py::tuple run_state_state(const state_view& s) {
    return py::make_tuple(s.blocks, s.tracers, s.faults, s.steps, s.tracer_radius,
                          array_from_vector(s.centre), s.horizons, s.fault_surfaces,
                          s.run == run_kind::forward, array_from_vector(s.offset), s.cutoffs,
                          s.separations);
}

state_view run_state_from_state(const py::tuple& t) {
    const py::tuple& s = state_of(t, 12, "RunState");
    return {s[0].cast<py::list>(),
            points_state(s[1]),
            s[2].cast<py::list>(),
            s[3],
            s[4].cast<std::optional<double>>(),
            vector_from_array(s[5], "centre"),
            surface_list_state(s[6]),
            surface_list_state(s[7]),
            s[8].cast<bool>() ? run_kind::forward : run_kind::restoration,
            vector_from_array(s[9], "offset"),
            s[10].cast<py::array_t<double>>(),
            s[11].cast<py::array_t<double>>()};
}

py::tuple result_state(const result_view& r) {
    return py::make_tuple(r.restored, r.forward, r.boundary, r.centre, r.warnings);
}

result_view result_from_state(const py::tuple& t) {
    const py::tuple& s = state_of(t, 5, "Result");
    return {s[0].cast<state_view>(), s[1].cast<state_view>(), s[2],
            array_from_vector(vector_from_array(s[3], "centre")), s[4].cast<py::list>()};
}

// Each tracer's block in a RunState or a Step.
py::array_t<std::int64_t> state_tracer_blocks(const state_view& v) {
    return tracer_blocks(v.blocks, static_cast<std::size_t>(v.tracers.shape(0)));
}

py::array_t<std::int64_t> step_tracer_blocks(step_view& s) {
    return tracer_blocks(step_blocks_of(s), static_cast<std::size_t>(step_tracers_of(s).shape(0)));
}

} // namespace

bool boundary_frame_named(py::handle coordinates) {
    if (!py::isinstance<py::str>(coordinates))
        throw py::type_error("coordinates: expected 'centred' or 'boundary', got " +
                             type_name(coordinates));
    const std::string word = coordinates.cast<std::string>();
    if (word != "centred" && word != "boundary")
        throw py::value_error("coordinates: expected 'centred' or 'boundary', got '" + word + "'");
    return word == "boundary";
}

step_change_fn step_recorder(run_output& out) {
    out.restored_steps = std::make_shared<kept_steps>();
    out.forward_steps = std::make_shared<kept_steps>();
    return [&out](const run_step_change& change) {
        keep_step(change.run == run_kind::restoration ? *out.restored_steps : *out.forward_steps,
                  change);
    };
}

void add_result_types(py::module_& m) {
    py::class_<step_view>(m, "Step", step_doc)
        .def_readonly("step", &step_view::step)
        .def_readonly("fault", &step_view::fault)
        .def_property_readonly("blocks", &step_blocks_of)
        .def_property_readonly("tracers", &step_tracers_of)
        .def_property_readonly("tracer_blocks", &step_tracer_blocks)
        .def_readonly("horizons", &step_view::horizons)
        .def("__repr__",
             [](const step_view& s) {
                 const std::size_t blocks = s.blocks.is_none()
                                                ? s.kept->history.steps[s.index].blocks.size()
                                                : py::len(s.blocks);
                 return "<tolvex.Step " + std::to_string(s.step) + ": " + std::to_string(blocks) +
                        " blocks>";
             })
        .def(py::pickle(&step_state, &step_from_state));
    py::class_<state_view>(m, "RunState", state_doc)
        .def_readonly("blocks", &state_view::blocks)
        .def_readonly("tracers", &state_view::tracers)
        .def_property_readonly("tracer_blocks", &state_tracer_blocks)
        .def_readonly("faults", &state_view::faults)
        .def_readonly("steps", &state_view::steps)
        .def_readonly("horizons", &state_view::horizons)
        .def_readonly("fault_surfaces", &state_view::fault_surfaces)
        .def_readonly("cutoffs", &state_view::cutoffs)
        .def_readonly("separations", &state_view::separations)
        .def("save_tracers", &save_tracers, save_tracers_doc, py::arg("path"),
             py::arg("tracer_radius") = py::none())
        .def("save_blocks", &save_blocks, save_blocks_doc, py::arg("path"))
        .def("__repr__",
             [](const state_view& s) {
                 return "<tolvex.RunState: " + std::to_string(s.blocks.size()) + " blocks, " +
                        std::to_string(s.tracers.shape(0)) + " tracers>";
             })
        .def(py::pickle(&run_state_state, &run_state_from_state));
    py::class_<result_view>(m, "Result", result_doc)
        .def_readonly("restored", &result_view::restored)
        .def_readonly("forward", &result_view::forward)
        .def_readonly("boundary", &result_view::boundary)
        .def_readonly("centre", &result_view::centre)
        .def_readonly("warnings", &result_view::warnings)
        .def("__repr__",
             [](const result_view& r) {
                 return "<tolvex.Result: " + std::to_string(r.forward.faults.size()) + " faults, " +
                        std::to_string(r.forward.blocks.size()) + " forward blocks>";
             })
        .def(py::pickle(&result_state, &result_from_state));
}

py::object result_object(run_output&& out) {
    model_result& r = out.result;
    // One list for Python callers, who see both kinds as warnings of the run.
    r.warnings.insert(r.warnings.end(), r.horizon_warnings.begin(), r.horizon_warnings.end());
    std::vector<block> boundary{std::move(r.boundary)};
    if (out.boundary_frame)
        boundary = moved(std::move(boundary), out.centre);
    result_view view{
        state_object(std::move(r.restored), run_kind::restoration, std::move(out.restored_steps),
                     out),
        state_object(std::move(r.forward), run_kind::forward, std::move(out.forward_steps), out),
        py::cast(std::move(boundary.front())), array_from_vector(out.centre), py::cast(r.warnings)};
    return py::cast(std::move(view));
}

} // namespace tolvex
