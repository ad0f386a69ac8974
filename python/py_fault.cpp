#include "python/py_fault.hpp"

#include "python/array_convert.hpp"
#include "python/py_errors.hpp"
#include "python/scalar_convert.hpp"

#include <algorithm>
#include <cmath>
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
wrong shape or a number that is not finite, OverflowError for an integer outside -2**31 ..
2**31 - 1). Faults compare equal when every attribute is; they can be pickled, and copy.copy
and copy.deepcopy give independent copies.

Example:
    f = tolvex.Fault(normal=(0, 0, 1), point=(0, 0, 0), slip_direction=(1, 0, 0),
                     slip_magnitude=2.0, sequence=1, name='detachment')
    f.slip_magnitude = 3.0)";

// The signature editors and inspect.signature read; the text is the class's.
constexpr const char* fault_init_doc =
    R"(__init__(self, *, normal, point, slip_direction, slip_magnitude, sequence, name='',
         tag='', identifier=0, plane_azimuth=0.0, plane_inclination=0.0, slip_azimuth=0.0,
         slip_plunge=0.0)
--

A Fault: see help(tolvex.Fault).)";

constexpr const char* faults_from_arrays_doc =
    R"(faults_from_arrays(normals, points, slip_directions, slip_magnitudes, sequences,
                   names=None, tags=None, identifiers=None)
--

Faults (a list of Fault) from one array per attribute.

normals, points and slip_directions are (F, 3) arrays of real numbers, slip_magnitudes (F,)
reals, sequences (F,) integers; names and tags sequences of F strings and identifiers F
integers, or None: tags '' and identifiers 0, and each fault is named by its position ('#0',
'#1', ...) so that warnings can tell them apart. The meaning of each value is that of the Fault
attribute of the same name. Empty arrays give no faults. Raises TypeError for a wrong kind of
value, ValueError for a wrong shape, lengths that differ or a number that is not finite, and
OverflowError for an integer outside -2**31 .. 2**31 - 1.)";

double finite_number(py::handle x, const char* what) {
    const double d = real_from_value(x, what);
    if (!std::isfinite(d))
        throw py::value_error(std::string(what) + " is not finite");
    return d;
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

bool same_vector(const vec3& a, const vec3& b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

bool same_fault(const fault& a, const fault& b) {
    return a.order == b.order && a.id == b.id && a.name == b.name && a.tag == b.tag &&
           a.slip_mag == b.slip_mag && same_vector(a.slip_dir, b.slip_dir) &&
           same_vector(a.normal, b.normal) && same_vector(a.point, b.point) &&
           a.plane_angles == b.plane_angles && a.slip_angles == b.slip_angles;
}

// Everything a Fault holds, in the constructor's argument order, as plain Python values.
py::tuple fault_state(const fault& f) {
    return py::make_tuple(as_list(f.normal), as_list(f.point), as_list(negated(f.slip_dir)),
                          f.slip_mag, f.order, f.name, f.tag, f.id, f.plane_angles[0],
                          f.plane_angles[1], f.slip_angles[0], f.slip_angles[1]);
}

// Pybind11 cannot tell a missing keyword argument from one that is None; the message can.
py::handle required(py::handle value, const char* what) {
    if (value.is_none())
        throw py::type_error(std::string("Fault() needs the keyword argument ") + what);
    return value;
}

fault make_fault(py::handle normal, py::handle point, py::handle slip_direction,
                 py::handle slip_magnitude, py::handle sequence, py::handle name, py::handle tag,
                 py::handle identifier, py::handle plane_azimuth, py::handle plane_inclination,
                 py::handle slip_azimuth, py::handle slip_plunge) {
    fault f;
    f.normal = vector_from_array(required(normal, "normal"), "normal");
    f.point = vector_from_array(required(point, "point"), "point");
    f.slip_dir =
        negated(vector_from_array(required(slip_direction, "slip_direction"), "slip_direction"));
    f.slip_mag = finite_number(required(slip_magnitude, "slip_magnitude"), "slip_magnitude");
    set_order(f, int_from_value(required(sequence, "sequence"), "sequence"));
    f.name = name_from_value(name, "name");
    f.tag = name_from_value(tag, "tag");
    f.id = int_from_value(identifier, "identifier");
    f.plane_angles = {real_from_value(plane_azimuth, "plane_azimuth"),
                      real_from_value(plane_inclination, "plane_inclination")};
    f.slip_angles = {real_from_value(slip_azimuth, "slip_azimuth"),
                     real_from_value(slip_plunge, "slip_plunge")};
    return f;
}

fault fault_from_state(const py::tuple& s) {
    if (s.size() != 12)
        throw py::value_error("Fault state: expected 12 values, got " + std::to_string(s.size()));
    return make_fault(s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7], s[8], s[9], s[10], s[11]);
}

std::vector<std::string> texts_from(py::handle values, std::size_t n, const char* what) {
    if (values.is_none())
        return std::vector<std::string>(n);
    std::vector<std::string> texts;
    for (const py::handle v : values)
        texts.push_back(
            name_from_value(v, std::string(what) + "[" + std::to_string(texts.size()) + "]"));
    if (texts.size() != n)
        throw py::value_error(std::string(what) + ": " + std::to_string(texts.size()) +
                              " values for " + std::to_string(n) + " faults");
    return texts;
}

index_list identifiers_from(py::handle values, std::size_t n) {
    if (values.is_none())
        return index_list(n);
    index_list ids = indices_from_array(values, "identifiers");
    if (ids.size() != n)
        throw py::value_error("identifiers: " + std::to_string(ids.size()) + " values for " +
                              std::to_string(n) + " faults");
    return ids;
}

// Faults without a name are named by their position, so that messages can tell them apart.
std::vector<std::string> names_from(py::handle values, std::size_t n) {
    if (!values.is_none())
        return texts_from(values, n, "names");
    std::vector<std::string> names;
    for (std::size_t i = 0; i < n; ++i)
        names.push_back("#" + std::to_string(i));
    return names;
}

std::vector<fault> faults_from_arrays(py::handle normals, py::handle points,
                                      py::handle slip_directions, py::handle slip_magnitudes,
                                      py::handle sequences, py::handle names, py::handle tags,
                                      py::handle identifiers) {
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
    const auto name = names_from(names, count);
    const auto tag = texts_from(tags, count, "tags");
    const auto id = identifiers_from(identifiers, count);
    std::vector<fault> faults(count);
    for (std::size_t i = 0; i < count; ++i) {
        fault& f = faults[i];
        f.normal = n[i];
        f.point = p[i];
        f.slip_dir = negated(d[i]);
        f.slip_mag = m[i];
        set_order(f, s[i]);
        f.name = name[i];
        f.tag = tag[i];
        f.id = id[i];
    }
    return faults;
}

} // namespace

void add_fault_type(py::module_& m) {
    const auto none = py::none();
    py::class_<fault>(m, "Fault", fault_doc)
        .def(py::init(&make_fault), fault_init_doc, py::kw_only(), py::arg("normal") = none,
             py::arg("point") = none, py::arg("slip_direction") = none,
             py::arg("slip_magnitude") = none, py::arg("sequence") = none, py::arg("name") = "",
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
            [](fault& f, py::handle x) { f.slip_mag = finite_number(x, "slip_magnitude"); },
            "the length of the slip")
        .def_property(
            "sequence", [](const fault& f) { return f.order; },
            [](fault& f, py::handle x) { set_order(f, int_from_value(x, "sequence")); },
            "the sequence number: forward runs apply the lowest first")
        .def_property(
            "name", [](const fault& f) { return f.name; },
            [](fault& f, py::handle x) { f.name = name_from_value(x, "name"); },
            "the fault's label")
        .def_property(
            "tag", [](const fault& f) { return f.tag; },
            [](fault& f, py::handle x) { f.tag = name_from_value(x, "tag"); }, "the fault's tag")
        .def_property(
            "identifier", [](const fault& f) { return f.id; },
            [](fault& f, py::handle x) { f.id = int_from_value(x, "identifier"); },
            "the fault's identifier")
        .def_property(
            "plane_azimuth", [](const fault& f) { return f.plane_angles[0]; },
            [](fault& f, py::handle x) { f.plane_angles[0] = real_from_value(x, "plane_azimuth"); },
            "degrees, descriptive")
        .def_property(
            "plane_inclination", [](const fault& f) { return f.plane_angles[1]; },
            [](fault& f, py::handle x) {
                f.plane_angles[1] = real_from_value(x, "plane_inclination");
            },
            "degrees, descriptive")
        .def_property(
            "slip_azimuth", [](const fault& f) { return f.slip_angles[0]; },
            [](fault& f, py::handle x) { f.slip_angles[0] = real_from_value(x, "slip_azimuth"); },
            "degrees, descriptive")
        .def_property(
            "slip_plunge", [](const fault& f) { return f.slip_angles[1]; },
            [](fault& f, py::handle x) { f.slip_angles[1] = real_from_value(x, "slip_plunge"); },
            "degrees, descriptive")
        .def("__repr__", &fault_repr)
        .def("__eq__",
             [](const fault& a, py::handle b) -> py::object {
                 if (!py::isinstance<fault>(b))
                     return py::reinterpret_borrow<py::object>(Py_NotImplemented);
                 return py::bool_(same_fault(a, b.cast<const fault&>()));
             })
        .def("__copy__", [](const fault& f) { return f; })
        .def(
            "__deepcopy__", [](const fault& f, const py::dict&) { return f; }, py::arg("memo"))
        .def(py::pickle(&fault_state, &fault_from_state));

    m.def("faults_from_arrays", &faults_from_arrays, faults_from_arrays_doc, py::arg("normals"),
          py::arg("points"), py::arg("slip_directions"), py::arg("slip_magnitudes"),
          py::arg("sequences"), py::arg("names") = none, py::arg("tags") = none,
          py::arg("identifiers") = none);
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
