#include "py_fault.hpp"

#include "array_convert.hpp"
#include "py_errors.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <pybind11/stl.h>

namespace tolvex {

namespace py = pybind11;

namespace {

constexpr const char* fault_doc = R"(One planar fault with its slip.

Fault(*, normal, point, slip_direction, slip_magnitude, sequence, name='', tag='',
      identifier=0, plane_azimuth=0.0, plane_inclination=0.0, slip_azimuth=0.0,
      slip_plunge=0.0)

All arguments are keywords; the first five are required. Vectors are sequences of three real
numbers in model units (metres in the example):

normal          the side of the plane this points to is the side that moves
point           a point on the plane, in the boundary's coordinates (the run moves it)
slip_direction  the direction in which the moving side goes in the forward run, a unit vector
                in the plane (as the fault data file gives it; others raise SlipWarning)
slip_magnitude  how far it goes
sequence        the sequence number: the forward run applies faults from the lowest up
name, tag, identifier, and the four angles (degrees) describe the fault and are not used by
the run.

Every attribute can be read and set; vectors read as read-only float64 arrays of shape (3,).
Setting checks as the constructor does (TypeError for a wrong kind of value, ValueError for a
wrong shape or a number that is not finite). copy.copy and copy.deepcopy give independent
copies.

Example:
    f = tolvex.Fault(normal=(0, 0, 1), point=(0, 0, 0), slip_direction=(1, 0, 0),
                     slip_magnitude=2.0, sequence=1, name='detachment')
    f.slip_magnitude = 3.0)";

constexpr const char* faults_from_arrays_doc =
    R"(faults_from_arrays(normals, points, slip_directions, slip_magnitudes, sequences,
                   names=None, tags=None, identifiers=None) -> list of Fault

Faults from one array per attribute.

normals, points and slip_directions are (F, 3) arrays of real numbers, slip_magnitudes (F,)
reals, sequences (F,) integers; names and tags sequences of F strings and identifiers F
integers, or None for '' and 0. The meaning of each value is that of the Fault attribute of the
same name. Raises TypeError for a wrong kind of value and ValueError for a wrong shape, lengths
that differ or a number that is not finite.)";

double finite_number(double x, const char* what) {
    if (!std::isfinite(x))
        throw py::value_error(std::string(what) + " is not finite");
    return x;
}

void set_sequence(fault& f, int order) {
    f.order = order;
    f.key = order;
}

vec3 negated(const vec3& v) {
    return -v;
}

py::list as_list(const vec3& v) {
    return py::cast(std::vector<double>{v[0], v[1], v[2]});
}

// Evaluates back to an equal Fault; the descriptive angles only when set.
std::string fault_repr(const fault& f) {
    std::string text = py::str("Fault(name={!r}, sequence={}, normal={}, point={}, "
                               "slip_direction={}, slip_magnitude={!r}, tag={!r}, identifier={}")
                           .format(f.name, f.order, as_list(f.normal), as_list(f.point),
                                   as_list(negated(f.slip_dir)), f.slip_mag, f.tag, f.id);
    if (f.plane_angles != std::array<double, 2>{} || f.slip_angles != std::array<double, 2>{})
        text +=
            py::str(", plane_azimuth={!r}, plane_inclination={!r}, slip_azimuth={!r}, "
                    "slip_plunge={!r}")
                .format(f.plane_angles[0], f.plane_angles[1], f.slip_angles[0], f.slip_angles[1]);
    return text + ")";
}

template <class T>
std::vector<T> optional_list(const std::optional<std::vector<T>>& given, std::size_t n,
                             const char* what) {
    if (!given)
        return std::vector<T>(n);
    if (given->size() != n)
        throw py::value_error(std::string(what) + ": " + std::to_string(given->size()) +
                              " values for " + std::to_string(n) + " faults");
    return *given;
}

std::vector<fault> faults_from_arrays(py::handle normals, py::handle points,
                                      py::handle slip_directions, py::handle slip_magnitudes,
                                      py::handle sequences,
                                      const std::optional<std::vector<std::string>>& names,
                                      const std::optional<std::vector<std::string>>& tags,
                                      const std::optional<std::vector<int>>& identifiers) {
    const point_list n = points_from_array(normals, "normals");
    const point_list p = points_from_array(points, "points");
    const point_list d = points_from_array(slip_directions, "slip_directions");
    const std::vector<double> m = numbers_from_array(slip_magnitudes, "slip_magnitudes");
    const index_list s = indices_from_array(sequences, "sequences");
    const std::size_t count = n.size();
    if (p.size() != count || d.size() != count || m.size() != count || s.size() != count)
        throw py::value_error("normals, points, slip_directions, slip_magnitudes and sequences "
                              "must have the same length, not " +
                              std::to_string(count) + ", " + std::to_string(p.size()) + ", " +
                              std::to_string(d.size()) + ", " + std::to_string(m.size()) + " and " +
                              std::to_string(s.size()));
    const auto name = optional_list(names, count, "names");
    const auto tag = optional_list(tags, count, "tags");
    const auto id = optional_list(identifiers, count, "identifiers");
    std::vector<fault> faults(count);
    for (std::size_t i = 0; i < count; ++i) {
        fault& f = faults[i];
        f.normal = n[i];
        f.point = p[i];
        f.slip_dir = negated(d[i]);
        f.slip_mag = m[i];
        set_sequence(f, s[i]);
        f.name = name[i];
        f.tag = tag[i];
        f.id = id[i];
    }
    return faults;
}

} // namespace

void add_fault_type(py::module_& m) {
    py::class_<fault>(m, "Fault", fault_doc)
        .def(py::init([](py::handle normal, py::handle point, py::handle slip_direction,
                         double slip_magnitude, int sequence, std::string name, std::string tag,
                         int identifier, double plane_azimuth, double plane_inclination,
                         double slip_azimuth, double slip_plunge) {
                 fault f;
                 f.normal = vector_from_array(normal, "normal");
                 f.point = vector_from_array(point, "point");
                 f.slip_dir = negated(vector_from_array(slip_direction, "slip_direction"));
                 f.slip_mag = finite_number(slip_magnitude, "slip_magnitude");
                 set_sequence(f, sequence);
                 f.name = std::move(name);
                 f.tag = std::move(tag);
                 f.id = identifier;
                 f.plane_angles = {plane_azimuth, plane_inclination};
                 f.slip_angles = {slip_azimuth, slip_plunge};
                 return f;
             }),
             py::kw_only(), py::arg("normal"), py::arg("point"), py::arg("slip_direction"),
             py::arg("slip_magnitude"), py::arg("sequence"), py::arg("name") = "",
             py::arg("tag") = "", py::arg("identifier") = 0, py::arg("plane_azimuth") = 0.0,
             py::arg("plane_inclination") = 0.0, py::arg("slip_azimuth") = 0.0,
             py::arg("slip_plunge") = 0.0)
        .def_property(
            "normal", [](const fault& f) { return array_from_vector(f.normal); },
            [](fault& f, py::handle v) { f.normal = vector_from_array(v, "normal"); },
            "the plane's normal (3,); the side it points to moves")
        .def_property(
            "point", [](const fault& f) { return array_from_vector(f.point); },
            [](fault& f, py::handle v) { f.point = vector_from_array(v, "point"); },
            "a point on the plane (3,), boundary coordinates; in results relative to the centre")
        .def_property(
            "slip_direction", [](const fault& f) { return array_from_vector(negated(f.slip_dir)); },
            [](fault& f, py::handle v) {
                f.slip_dir = negated(vector_from_array(v, "slip_direction"));
            },
            "the forward direction (3,) of the side the normal points to")
        .def_property(
            "slip_magnitude", [](const fault& f) { return f.slip_mag; },
            [](fault& f, double x) { f.slip_mag = finite_number(x, "slip_magnitude"); },
            "the length of the slip")
        .def_property(
            "sequence", [](const fault& f) { return f.order; }, &set_sequence,
            "the sequence number: forward runs apply the lowest first")
        .def_readwrite("name", &fault::name, "the fault's label")
        .def_readwrite("tag", &fault::tag, "the fault's tag")
        .def_readwrite("identifier", &fault::id, "the fault's identifier")
        .def_property(
            "plane_azimuth", [](const fault& f) { return f.plane_angles[0]; },
            [](fault& f, double x) { f.plane_angles[0] = x; }, "degrees, descriptive")
        .def_property(
            "plane_inclination", [](const fault& f) { return f.plane_angles[1]; },
            [](fault& f, double x) { f.plane_angles[1] = x; }, "degrees, descriptive")
        .def_property(
            "slip_azimuth", [](const fault& f) { return f.slip_angles[0]; },
            [](fault& f, double x) { f.slip_angles[0] = x; }, "degrees, descriptive")
        .def_property(
            "slip_plunge", [](const fault& f) { return f.slip_angles[1]; },
            [](fault& f, double x) { f.slip_angles[1] = x; }, "degrees, descriptive")
        .def("__repr__", &fault_repr)
        .def("__copy__", [](const fault& f) { return f; })
        .def(
            "__deepcopy__", [](const fault& f, const py::dict&) { return f; }, py::arg("memo"));

    m.def("faults_from_arrays", &faults_from_arrays, faults_from_arrays_doc, py::arg("normals"),
          py::arg("points"), py::arg("slip_directions"), py::arg("slip_magnitudes"),
          py::arg("sequences"), py::arg("names") = py::none(), py::arg("tags") = py::none(),
          py::arg("identifiers") = py::none());
}

std::vector<fault> faults_for_run(py::handle faults) {
    std::vector<fault> out;
    for (const py::handle item : faults) {
        if (!py::isinstance<fault>(item))
            throw py::type_error("faults[" + std::to_string(out.size()) +
                                 "]: expected a tolvex.Fault, got " + type_name(item));
        out.push_back(item.cast<fault>());
    }
    std::stable_sort(out.begin(), out.end(), sortobj_descending());
    return out;
}

} // namespace tolvex
