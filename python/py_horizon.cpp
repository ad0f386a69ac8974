#include "python/py_horizon.hpp"

#include "formats/horizon_file.hpp"
#include "python/array_convert.hpp"
#include "python/py_errors.hpp"
#include "python/scalar_convert.hpp"

#include <filesystem>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>
#include <utility>

namespace tolvex {

namespace py = pybind11;

namespace {

constexpr const char* horizon_doc = R"(One horizon: a named triangulated surface given to a run.

Horizon(name, vertices, triangles)

name       str
vertices   (V, 3) real numbers, in the boundary file's coordinates (not relative to its centre,
           unlike tracers): a run centres them as it centres the boundary
triangles  (T, 3) integers, each triangle's three corners as 0-based rows of vertices

The attributes read the same, as new read-only arrays (float64 and int64) on each access.
Raises TypeError for a wrong kind of value, ValueError for a wrong shape, a vertex that is not
finite, a corner that names no vertex, a triangle that names one vertex twice, or a name that is empty
or holds a control character. Horizons can be pickled and copied; read_horizons
reads them from files, and run(..., horizons=...) cuts them with the blocks.)";

constexpr const char* horizon_init_doc = R"(__init__(self, name, vertices, triangles)
--

A Horizon: see help(tolvex.Horizon).)";

constexpr const char* read_horizons_doc = R"(read_horizons(path)
--

Reads a horizon file into a list of Horizon, in file order.

GOCAD TSurf (.ts), Wavefront OBJ (.obj) or VTK legacy ASCII polydata (.vtk), told apart by
their first words, else by the name's ending; coordinates as the file gives them (the boundary
file's). A horizon the file does not name is named after the file. A file without a triangle
gives a UserWarning.

Raises tolvex.InputError (a ValueError naming the file, the line and the reason) on the first
bad line, and the OSError of opening the file (FileNotFoundError, PermissionError, ...) when
it cannot be opened. Nothing of a bad file is returned.)";

horizon make_horizon(py::handle name, py::handle vertices, py::handle triangles) {
    horizon h{name_from_value(name, "name"), points_from_array(vertices, "vertices"),
              triangles_from_array(triangles, "triangles")};
    // As every reader names a horizon: a VTK file has no word for an empty name.
    if (h.name.empty())
        throw py::value_error("name: must not be empty");
    const int count = static_cast<int>(h.vertices.size());
    for (std::size_t t = 0; t < h.triangles.size(); ++t) {
        const triangle& c = h.triangles[t];
        for (const int corner : c)
            if (corner < 0 || corner >= count)
                throw py::value_error("triangles[" + std::to_string(t) + "]: corner " +
                                      std::to_string(corner) + " names no vertex (there are " +
                                      std::to_string(count) + ")");
        // As the horizon readers refuse it: a triangle without area has no side to cut.
        if (c[0] == c[1] || c[1] == c[2] || c[0] == c[2])
            throw py::value_error("triangles[" + std::to_string(t) + "]: names one vertex twice");
    }
    return h;
}

py::tuple horizon_state(const horizon& h) {
    return py::make_tuple(h.name, array_from_points(h.vertices), array_from_triangles(h.triangles));
}

horizon horizon_from_state(const py::tuple& s) {
    if (s.size() != 3)
        throw py::value_error("Horizon state: expected 3 values, got " + std::to_string(s.size()));
    return make_horizon(s[0], s[1], s[2]);
}

// The file's horizons, its warnings issued once the interpreter lock is held again.
std::vector<horizon> read_horizons(const std::filesystem::path& path) {
    std::vector<horizon> horizons;
    std::vector<std::string> notes;
    {
        py::gil_scoped_release nogil;
        horizons = read_horizon_file(path.string(),
                                     [&](const std::string& text) { notes.push_back(text); });
    }
    for (const std::string& text : notes)
        warn_input(text);
    return horizons;
}

} // namespace

std::vector<horizon> horizons_for_run(py::handle horizons) {
    if (horizons.is_none())
        return {};
    if (py::isinstance<py::str>(horizons) || py::hasattr(horizons, "__fspath__"))
        return read_horizons(horizons.cast<std::filesystem::path>());
    if (!py::hasattr(horizons, "__iter__"))
        throw py::type_error("horizons: expected a list of tolvex.Horizon or a path, got " +
                             type_name(horizons));
    std::vector<horizon> out;
    for (const py::handle h : horizons) {
        if (!py::isinstance<horizon>(h))
            throw py::type_error("horizons[" + std::to_string(out.size()) +
                                 "]: expected a tolvex.Horizon, got " + type_name(h));
        out.push_back(h.cast<horizon>());
    }
    return out;
}

void put_run_horizons(run_options& options, py::handle both, py::handle present,
                      py::handle undeformed) {
    for (const auto& [name, given] :
         {std::pair{"present_horizons", present}, std::pair{"undeformed_horizons", undeformed}})
        if (!both.is_none() && !given.is_none())
            throw py::value_error(std::string("horizons cannot be given with ") + name +
                                  ": horizons are carried by both runs, present_horizons and "
                                  "undeformed_horizons by one run each");
    options.horizons = horizons_for_run(both);
    options.present_horizons = horizons_for_run(present);
    options.undeformed_horizons = horizons_for_run(undeformed);
}

void add_horizon_type(py::module_& m) {
    py::class_<horizon>(m, "Horizon", horizon_doc)
        .def(py::init(&make_horizon), horizon_init_doc, py::arg("name"), py::arg("vertices"),
             py::arg("triangles"))
        .def_property_readonly("name", [](const horizon& h) { return h.name; })
        .def_property_readonly("vertices",
                               [](const horizon& h) { return array_from_points(h.vertices); })
        .def_property_readonly("triangles",
                               [](const horizon& h) { return array_from_triangles(h.triangles); })
        .def("__repr__",
             [](const horizon& h) {
                 return "<tolvex.Horizon '" + h.name + "': " + std::to_string(h.vertices.size()) +
                        " vertices, " + std::to_string(h.triangles.size()) + " triangles>";
             })
        .def(py::pickle(&horizon_state, &horizon_from_state));
    m.def("read_horizons", &read_horizons, read_horizons_doc, py::arg("path"));
}

} // namespace tolvex
