#include "python/py_section.hpp"
#include "formats/file_formats.hpp"

#include "drawing/page_bound.hpp"
#include "drawing/section_drawing.hpp"
#include "io/atomic_file.hpp"
#include "model/run_section.hpp"
#include "python/array_convert.hpp"
#include "python/py_fault.hpp"
#include "python/py_horizon.hpp"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <filesystem>

namespace py = pybind11;

namespace tolvex {

namespace {

constexpr const char* section_doc =
    R"(section(boundary, faults, tracers, start, end, run='forward', step=None, band=None, horizons=None, present_horizons=None, undeformed_horizons=None, via=None)
--

The vertical section along the map line from start (x, y) to end (x, y), in the boundary's own
coordinates, bent at the points of via ((x, y) each, in order) if given, from start to end, of step `step` (0 to the fault count; None: the last) of the run ('forward' or
'restored') that run(boundary, faults, tracers, horizons=horizons) makes; horizons,
present_horizons and undeformed_horizons as for run, and the title names a run's own set.
Returns a dict:

title           the step's name, as the viewer gives it ("forward 2/3: 102 NF-E")
polygons        a list of (K, 2) float64 arrays, (distance along the line, elevation) per corner
polygon_blocks  (P,) int64, the block of each polygon in the run's block list
fault_traces    (T, 2, 2) float64, the ends of each segment where the line's plane meets a fault
trace_faults    (T,) int64, each segment's fault, by position in fault_labels
fault_labels    the faults of the run in its order, as "identifier tag"
tracers         (M, 2) float64, the tracers within band of the plane (default 1 % of the line)
tracer_indices  (M,) int64, their rows in tracers
bends           (B,) float64, the distance along the line of each point of via
bend_points     (B, 2) float64, the points of via, (x, y)
and with horizons also:
horizon_names   the horizons in the order given
horizon_traces  (H, 2, 2) float64, the ends of each segment where the plane meets a horizon
trace_horizons  (H,) int64, each segment's horizon, by position in horizon_names
A bent line is unrolled: each segment is cut in its own plane, the segments side by side, and a
block that continues across a bend is one polygon on each side of it, both with its number. A
segment without length or a line that misses the model raises ValueError.)";

constexpr const char* save_section_doc =
    R"(save_section(path, boundary, faults, tracers, start, end, steps=(('restored', None), ('forward', None)), band=None, exaggeration=1.0, horizons=None, units='', present_horizons=None, undeformed_horizons=None, via=None)
--

Draws the sections of the given (run, step) pairs one above the other on one page, as
tolvex-batch --save-section does: .svg, .pdf or .png by the path's ending, horizons and via as
in section(), units the length unit named on the axes and the scale bar ('' names none). The
file is complete before it replaces an old one.)";

run_kind run_named(const std::string& name) {
    if (const std::optional<run_kind> run = run_from_word(name))
        return *run;
    throw py::value_error("run: \"" + name + "\" is not 'forward' or 'restored'");
}

// start, the points of via in order, and end.
section_path path_of(py::handle start, py::handle via, py::handle end) {
    const auto xy = [](py::handle p, const std::string& what) {
        const std::vector<double> v = p.cast<std::vector<double>>();
        if (v.size() != 2)
            throw py::value_error(what + ": expected (x, y)");
        return map_point{v[0], v[1]};
    };
    section_path path{{xy(start, "start")}};
    if (!via.is_none())
        for (const py::handle p : via)
            path.points.push_back(xy(p, "via[" + std::to_string(path.points.size() - 1) + "]"));
    path.points.push_back(xy(end, "end"));
    try {
        check_section_path(path);
    } catch (const section_error& e) {
        throw py::value_error(e.what());
    }
    return path;
}

// The model run once, for every section asked of it.
struct section_source {
    model_result result;
    std::vector<fault> faults;
    point_list tracers;
};

section_source run_for_sections(py::handle boundary, py::handle faults, py::handle tracers,
                                py::handle horizons, py::handle present, py::handle undeformed) {
    section_source s;
    s.faults = faults_for_run(faults);
    s.tracers = tracers.is_none() ? point_list{} : points_from_array(tracers, "tracers");
    block b = boundary.cast<block>();
    run_options options{.keep = {false, false}};
    put_run_horizons(options, horizons, present, undeformed);
    py::gil_scoped_release nogil;
    s.result = run_model(std::move(b), s.faults, s.tracers, std::move(options));
    return s;
}

section section_at(const section_source& s, run_kind run, py::handle step, const section_path& line,
                   std::optional<double> band) {
    const std::size_t count = s.faults.size();
    const std::size_t k = step.is_none() ? count : step.cast<std::size_t>();
    if (k > count)
        throw py::value_error("step: there is no step " + std::to_string(k) +
                              "; the runs have steps 0 to " + std::to_string(count));
    try {
        return run_section(s.result, s.faults, s.tracers, run, k, {line, band});
    } catch (const section_error& e) {
        throw py::value_error(e.what());
    }
}

// The traces' ends as (T, 2, 2) under ends_key and which each is as (T,) under which_key.
void put_traces(py::dict& out, const char* ends_key, const char* which_key,
                const std::vector<section_trace>& traces) {
    py::array_t<double> ends(
        {static_cast<py::ssize_t>(traces.size()), py::ssize_t{2}, py::ssize_t{2}});
    auto e = ends.mutable_unchecked<3>();
    std::vector<std::int64_t> which;
    for (std::size_t k = 0; k < traces.size(); ++k) {
        const auto i = static_cast<py::ssize_t>(k);
        for (int j = 0; j < 2; ++j) {
            e(i, 0, j) = traces[k].a[j];
            e(i, 1, j) = traces[k].b[j];
        }
        which.push_back(traces[k].which);
    }
    out[ends_key] = ends;
    out[which_key] = py::array_t<std::int64_t>(py::cast(which));
}

py::dict section_dict(const section& s) {
    py::list polygons;
    std::vector<std::int64_t> blocks, tracer_rows;
    for (const section_polygon& p : s.blocks) {
        py::array_t<double> corners({static_cast<py::ssize_t>(p.corners.size()), py::ssize_t{2}});
        auto c = corners.mutable_unchecked<2>();
        for (std::size_t k = 0; k < p.corners.size(); ++k)
            for (int j = 0; j < 2; ++j)
                c(static_cast<py::ssize_t>(k), j) = p.corners[k][j];
        polygons.append(corners);
        blocks.push_back(p.block);
    }
    py::array_t<double> tracers({static_cast<py::ssize_t>(s.tracers.size()), py::ssize_t{2}});
    auto r = tracers.mutable_unchecked<2>();
    for (std::size_t k = 0; k < s.tracers.size(); ++k) {
        r(static_cast<py::ssize_t>(k), 0) = s.tracers[k].at[0];
        r(static_cast<py::ssize_t>(k), 1) = s.tracers[k].at[1];
        tracer_rows.push_back(s.tracers[k].tracer);
    }
    py::dict out;
    out["title"] = s.title;
    out["polygons"] = polygons;
    out["polygon_blocks"] = py::array_t<std::int64_t>(py::cast(blocks));
    put_traces(out, "fault_traces", "trace_faults", s.fault_traces);
    out["fault_labels"] = s.fault_labels;
    out["tracers"] = tracers;
    out["tracer_indices"] = py::array_t<std::int64_t>(py::cast(tracer_rows));
    const std::vector<double> distances = distances_of(s.path);
    const std::size_t bends = distances.size() - 2; // a line has two points or more
    py::array_t<double> bend_points({static_cast<py::ssize_t>(bends), py::ssize_t{2}});
    auto b = bend_points.mutable_unchecked<2>();
    for (std::size_t k = 0; k < bends; ++k)
        for (int j = 0; j < 2; ++j)
            b(static_cast<py::ssize_t>(k), j) = s.path.points[k + 1][static_cast<std::size_t>(j)];
    out["bends"] = py::array_t<double>(
        py::cast(std::vector<double>(distances.begin() + 1, distances.end() - 1)));
    out["bend_points"] = bend_points;
    if (!s.horizon_names.empty()) {
        out["horizon_names"] = s.horizon_names;
        put_traces(out, "horizon_traces", "trace_horizons", s.horizon_traces);
    }
    return out;
}

py::dict section_of(py::handle boundary, py::handle faults, py::handle tracers, py::handle start,
                    py::handle end, const std::string& run, py::handle step,
                    std::optional<double> band, py::handle horizons, py::handle present,
                    py::handle undeformed, py::handle via) {
    const section_path line = path_of(start, via, end);
    const section_source s =
        run_for_sections(boundary, faults, tracers, horizons, present, undeformed);
    return section_dict(section_at(s, run_named(run), step, line, band));
}

void save_section(const std::filesystem::path& path, py::handle boundary, py::handle faults,
                  py::handle tracers, py::handle start, py::handle end, py::handle steps,
                  std::optional<double> band, double exaggeration, py::handle horizons,
                  const std::string& units, py::handle present, py::handle undeformed,
                  py::handle via) {
    drawing_format format;
    if (!drawing_format_of(path.string(), format))
        throw py::value_error("path: \"" + path.string() + "\" must end in " +
                              endings_text(written_endings(holds::section_drawing)));
    if (!(exaggeration > 0.0))
        throw py::value_error("exaggeration: must be above 0");
    if (const char* problem = units_problem(units))
        throw py::value_error("units: \"" + units + "\" " + problem);
    const section_path line = path_of(start, via, end);
    const section_source s =
        run_for_sections(boundary, faults, tracers, horizons, present, undeformed);
    std::vector<section> panels;
    for (const py::handle pair : steps) {
        const py::tuple t = py::reinterpret_borrow<py::object>(pair).cast<py::tuple>();
        if (t.size() != 2)
            throw py::value_error("steps: expected (run, step) pairs");
        panels.push_back(section_at(s, run_named(t[0].cast<std::string>()), t[1], line, band));
    }
    section_style style;
    style.exaggeration = exaggeration;
    style.units = units;
    std::string drawing;
    try {
        drawing = draw_sections(panels, style, format);
    } catch (const page_too_large& e) {
        throw py::value_error(std::string("exaggeration: ") + e.what());
    } catch (const std::bad_alloc&) {
        PyErr_Format(PyExc_MemoryError, "%s: not enough memory to draw the section",
                     path.string().c_str());
        throw py::error_already_set();
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(path.string() + ": " + e.what());
    }
    write_file_atomically(path.string(), drawing);
}

} // namespace

void add_section(py::module_& m) {
    m.def("section", &section_of, section_doc, py::arg("boundary"), py::arg("faults"),
          py::arg("tracers"), py::arg("start"), py::arg("end"), py::arg("run") = "forward",
          py::arg("step") = py::none(), py::arg("band") = py::none(),
          py::arg("horizons") = py::none(), py::arg("present_horizons") = py::none(),
          py::arg("undeformed_horizons") = py::none(), py::arg("via") = py::none());
    m.def("save_section", &save_section, save_section_doc, py::arg("path"), py::arg("boundary"),
          py::arg("faults"), py::arg("tracers"), py::arg("start"), py::arg("end"),
          py::arg("steps") = py::make_tuple(py::make_tuple("restored", py::none()),
                                            py::make_tuple("forward", py::none())),
          py::arg("band") = py::none(), py::arg("exaggeration") = 1.0,
          py::arg("horizons") = py::none(), py::arg("units") = "",
          py::arg("present_horizons") = py::none(), py::arg("undeformed_horizons") = py::none(),
          py::arg("via") = py::none());
}

} // namespace tolvex
