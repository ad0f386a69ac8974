#include "python/py_fault_terms.hpp"

#include "formats/fault_file.hpp"
#include "formats/fault_table.hpp"
#include "io/atomic_file.hpp"
#include "model/fault_orientation.hpp"
#include "model/plane_fit.hpp"
#include "python/array_convert.hpp"
#include "python/py_errors.hpp"
#include "python/py_fault.hpp"
#include "python/scalar_convert.hpp"

#include <filesystem>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>
#include <vector>

namespace tolvex {

namespace py = pybind11;

namespace {

constexpr const char* from_orientation_doc =
    R"(Fault.from_orientation(*, dip_direction, dip, point, slip, sequence, rake=None,
                       slip_azimuth=None, slip_plunge=None, name='', tag='', identifier=0)
--

A Fault as a geologist gives it; angles in degrees, azimuths clockwise from north (+y).

dip_direction and dip give the plane (dip 0 to 90); its upward normal points to the hanging
wall, which is the side that moves. The slip of the hanging wall is given either by rake
(-180 to 180, from the strike = dip direction - 90: -90 normal, +90 reverse, 0 left-lateral) or
by slip_azimuth and slip_plunge (down positive) of its forward motion; such a slip more than
0.5 degrees out of the plane raises ValueError, a closer one is projected into the plane (with
a UserWarning beyond 0.05 degrees). slip is the length, point a point on the plane. The
Fault's angles are set to agree with its vectors.

Example:
    f = tolvex.Fault.from_orientation(dip_direction=90, dip=60, rake=-90, slip=100,
                                      point=(4700, 8750, -900), sequence=1))";

constexpr const char* save_faults_doc = R"(save_faults(path, faults)
--

Writes faults (any iterable of Fault) to path, youngest first: a fault table for a name ending
in .csv (id, name, tag, sequence, x, y, z, dip_direction, dip, rake, slip), else a fault data
file. Both read back (read_faults) as the same model. Raises OSError when the file cannot be
written or the form cannot hold a fault (a table holds only faults whose normal points up);
nothing is written then.)";

std::optional<double> optional_angle(py::handle value, const char* what) {
    return optional_real_from_value(value, what);
}

fault from_orientation(py::handle dip_direction, py::handle dip, py::handle point, py::handle slip,
                       py::handle sequence, py::handle rake, py::handle slip_azimuth,
                       py::handle slip_plunge, py::handle name, py::handle tag,
                       py::handle identifier) {
    for (const auto& [value, what] : {std::pair{dip_direction, "dip_direction"},
                                      {dip, "dip"},
                                      {point, "point"},
                                      {slip, "slip"},
                                      {sequence, "sequence"}})
        if (value.is_none())
            throw py::type_error(std::string("Fault.from_orientation() needs the keyword "
                                             "argument ") +
                                 what);
    fault_terms t;
    t.dip_direction = real_from_value(dip_direction, "dip_direction");
    t.dip = real_from_value(dip, "dip");
    t.point = vector_from_array(point, "point");
    t.slip = real_from_value(slip, "slip");
    t.sequence = int_from_value(sequence, "sequence");
    t.rake = optional_angle(rake, "rake");
    t.slip_azimuth = optional_angle(slip_azimuth, "slip_azimuth");
    t.slip_plunge = optional_angle(slip_plunge, "slip_plunge");
    t.name = name_from_value(name, "name");
    t.tag = name_from_value(tag, "tag");
    t.id = int_from_value(identifier, "identifier");
    std::vector<std::string> notes;
    fault f;
    try {
        f = fault_from_terms(t, [&notes](const std::string& text) { notes.push_back(text); });
    } catch (const fault_terms_error& e) {
        throw py::value_error(e.term() + ": " + e.what());
    }
    for (const std::string& note : notes)
        warn_input(note);
    return f;
}

constexpr const char* fit_fault_plane_doc = R"(fit_fault_plane(surface)
--

The plane that fits a fault surface (a Horizon, as read_horizons gives) best, by area-weighted
least squares, as a dict: point (its centroid) and normal (unit, upward) as (3,) arrays,
dip_direction and dip in degrees, rms and largest, the surface's root mean square and largest
distance from the plane, and extent, the diagonal of its bounding box. Raises ValueError for a
surface without a triangle of some area.)";

py::dict fit_plane(const horizon& surface) {
    const std::optional<plane_fit> fit = fit_fault_plane(surface);
    if (!fit)
        throw py::value_error("surface \"" + surface.name + "\" has no triangle with an area");
    const std::array<double, 2> attitude = plane_angles_of(fit->normal);
    py::dict out;
    out["point"] = array_from_vector(fit->point);
    out["normal"] = array_from_vector(fit->normal);
    out["dip_direction"] = attitude[0];
    out["dip"] = attitude[1];
    out["rms"] = fit->rms;
    out["largest"] = fit->largest;
    out["extent"] = fit->extent;
    return out;
}

void save_faults(const std::filesystem::path& path, py::handle faults) {
    const std::vector<fault> sorted = faults_for_run(faults);
    const std::string text = faults_text_for(path.string(), sorted);
    py::gil_scoped_release nogil;
    write_file_atomically(path.string(), text);
}

} // namespace

void add_fault_terms(py::module_& m) {
    const auto none = py::none();
    m.attr("Fault").attr("from_orientation") = py::staticmethod(py::cpp_function(
        &from_orientation, py::name("from_orientation"), from_orientation_doc, py::kw_only(),
        py::arg("dip_direction") = none, py::arg("dip") = none, py::arg("point") = none,
        py::arg("slip") = none, py::arg("sequence") = none, py::arg("rake") = none,
        py::arg("slip_azimuth") = none, py::arg("slip_plunge") = none, py::arg("name") = "",
        py::arg("tag") = "", py::arg("identifier") = 0));
    m.def("save_faults", &save_faults, save_faults_doc, py::arg("path"), py::arg("faults"));
    m.def("fit_fault_plane", &fit_plane, fit_fault_plane_doc, py::arg("surface"));
}

} // namespace tolvex
