#include "python/py_surface_save.hpp"
#include "formats/file_formats.hpp"

#include "io/atomic_file.hpp"
#include "model/fault_label.hpp"
#include "python/py_errors.hpp"
#include "python/py_state.hpp"
#include "python/py_surface.hpp"

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <pybind11/stl/filesystem.h>

namespace tolvex {

namespace py = pybind11;

namespace {

constexpr const char* save_horizons_doc = R"(save_horizons(path, state)
--

Writes the horizons of state (a RunState, or a Step of a run with steps=True) as the pieces
left of them in its blocks.

The format follows path's ending: GOCAD TSurf '.ts' (one object per horizon), Wavefront OBJ
'.obj' (a group per horizon) or VTK legacy polydata '.vtk' (cell data horizon, block and
triangle, the horizons' names and the centre as field data). Coordinates are the boundary
file's, as in state.horizons; horizons of which nothing is left are left out. The file is
complete before it replaces an old one. Raises ValueError for another ending or a run without
horizons (nothing is written), TypeError for another state, OSError when the file cannot be written (an old file stays as it was).)";

constexpr const char* save_fault_surfaces_doc = R"(save_fault_surfaces(path, state)
--

Writes the fault surfaces of state (a RunState): a surface per side of each fault, named
'<identifier> <tag> (+)' for the side the fault's normal points to and '(-)' for the other.

Formats, coordinates and errors as for save_horizons (ValueError when no fault cut a block);
VTK files carry cell data fault (the
fault's position in read_faults order: youngest first), side and block, and the faults'
names as field data.)";

void check_ending(const std::filesystem::path& path) {
    if (!written_format(path.string(), holds::horizons | holds::fault_surfaces))
        throw py::value_error("path: unknown file name ending '" + path.extension().string() +
                              "' of " + path.string() + "; expected " +
                              endings_text(written_endings(holds::horizons)));
}

void write_surfaces(const std::filesystem::path& path, const surface_set& set, const vec3& centre) {
    py::gil_scoped_release nogil;
    write_file_atomically(path.string(), surfaces_to_text(set, path.string(), centre));
}

template <class View> const View* as_view(py::handle state) {
    return py::isinstance<View>(state) ? &state.cast<const View&>() : nullptr;
}

void save_horizons(const std::filesystem::path& path, py::handle state) {
    check_ending(path);
    const auto* run = as_view<state_view>(state);
    const auto* step = as_view<step_view>(state);
    if (!run && !step)
        throw py::type_error("state: expected a tolvex.RunState or tolvex.Step, got " +
                             type_name(state));
    const py::list& horizons = run ? run->horizons : step->horizons;
    if (horizons.empty())
        throw py::value_error("save_horizons: the run had no horizons (give horizons= or "
                              "HORIZON_FILE=), so there is nothing to write to " +
                              path.string());
    surface_set set;
    set.cell_data = {{"horizon", {}}, {"block", {}}, {"triangle", {}}};
    set.names_of = "horizon";
    for (const py::handle h : horizons) {
        const auto& s = h.cast<const surface_view&>();
        set.names.push_back(s.name);
        if (s.triangles.shape(0) > 0)
            append_surface(set, s,
                           [](const std::string&, std::int64_t v) { return static_cast<int>(v); });
    }
    write_surfaces(path, set, run ? run->centre : step->centre);
}

void save_fault_surfaces(const std::filesystem::path& path, py::handle state) {
    check_ending(path);
    const auto* run = as_view<state_view>(state);
    if (!run)
        throw py::type_error("state: expected a tolvex.RunState, got " + type_name(state));
    if (run->fault_surfaces.empty())
        throw py::value_error("save_fault_surfaces: no fault cut a block, so there is nothing to "
                              "write to " +
                              path.string());
    // Files number the faults as loaded (youngest first), which the forward run reverses.
    const int n = static_cast<int>(run->faults.size());
    const auto loaded = [&](std::int64_t k) {
        return static_cast<int>(run->run == run_kind::forward ? n - 1 - k : k);
    };
    std::vector<const surface_view*> walls;
    for (const py::handle w : run->fault_surfaces)
        walls.push_back(&w.cast<const surface_view&>());
    const auto key = [&](const surface_view* w) {
        const auto first = [&](const char* column) {
            return w->cell_data[column].cast<py::array_t<std::int64_t>>().at(0);
        };
        return std::pair{loaded(first("fault")), -first("side")};
    };
    std::stable_sort(walls.begin(), walls.end(),
                     [&](const auto* a, const auto* b) { return key(a) < key(b); });
    surface_set set;
    set.cell_data = {{"fault", {}}, {"side", {}}, {"block", {}}};
    set.names_of = "fault";
    for (int k = 0; k < n; ++k)
        set.names.push_back(fault_short_label(
            run->faults[static_cast<std::size_t>(loaded(k))].cast<const fault&>()));
    for (const surface_view* w : walls)
        append_surface(set, *w, [&](const std::string& column, std::int64_t v) {
            return column == "fault" ? loaded(v) : static_cast<int>(v);
        });
    write_surfaces(path, set, run->centre);
}

} // namespace

void add_surface_savers(py::module_& m) {
    m.def("save_horizons", &save_horizons, save_horizons_doc, py::arg("path"), py::arg("state"));
    m.def("save_fault_surfaces", &save_fault_surfaces, save_fault_surfaces_doc, py::arg("path"),
          py::arg("state"));
}

} // namespace tolvex
