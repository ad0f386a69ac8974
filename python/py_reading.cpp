#include "python/py_reading.hpp"

#include "config/display_modes.hpp"
#include "formats/boundary_file.hpp"
#include "formats/fault_file.hpp"
#include "formats/tracer_file.hpp"
#include "python/array_convert.hpp"
#include "python/py_errors.hpp"
#include "python/scalar_convert.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>
#include <string>

namespace tolvex {

namespace py = pybind11;

namespace {

// The settings with the folder their file names are relative to.
struct config_record {
    tolvex_conf settings;
    std::filesystem::path folder;
};

constexpr const char* read_errors_doc =
    "Raises tolvex.InputError (a ValueError naming the file, the line and the reason) on the\n"
    "first bad line, and the OSError of opening the file (FileNotFoundError, PermissionError,\n"
    "...) when it cannot be opened. Nothing of a bad file is returned.";

const std::string read_boundary_doc = R"(read_boundary(path)
--

Reads a boundary file into a Block.

VERTEX=x,y,z, EDGE=a,b and FACE=n,i1,...,in,nx,ny,nz lines (0-based vertex indices, integer
outward normals), in model units. The Block has vertices, edges and faces; no fault or tracer
indices.

)" + std::string(read_errors_doc);

const std::string read_faults_doc = R"(read_faults(path)
--

Reads a fault data file, or a fault table (.csv), into a list of Fault.

One fault per line, 18 tab-separated fields; '#' lines are comments. A fault table has a header
row naming its columns (see save_faults). The list is sorted by descending sequence number
(youngest first), faults with the same number in file order. A line whose angles disagree with
its vectors by more than 0.5 degrees, or a table's slip projected into its plane, gives a
UserWarning.

)" + std::string(read_errors_doc);

const std::string read_tracers_doc =
    R"(read_tracers(path, tracer_radius=100.0)
--

Reads a tracer file into an (N, 3) float64 array.

One 'x, y, z' line per tracer (a comma and a blank after the first two values), in units of
tracer_radius: every coordinate is multiplied by it, giving model units relative to the
boundary's centre. ValueError for a radius that is not a positive finite number.

)" + std::string(read_errors_doc);

const std::string read_config_doc = R"(read_config(path)
--

Reads a settings file (tolvex.conf) into a Config.

Unlike the desktop program, which keeps the earlier value of a bad line, any bad line raises.

)" + std::string(read_errors_doc);

constexpr const char* config_doc = R"(The settings of a tolvex.conf, read-only.

boundary_file, tracer_file, horizon_file
                             the file names as written (relative to the settings file's
                             folder); horizon_file is '' when the file names none
present_horizon_file, undeformed_horizon_file
                             the horizons of one run: present-day ones, which only the
                             restoration carries, and undeformed ones, which only the forward
                             run carries; '' when the file names none
boundary_path, tracer_path, horizon_path, present_horizon_path, undeformed_horizon_path
                             the same joined to that folder, as run_files uses them
                             (a horizon path is None without its file)
tracer_radius                the scale of tracer files
clear_color                  (red, green, blue, alpha) of the viewer's background
show_block, show_tracer      what the viewer and pictures show
initial_view_point           (x, y, z), the viewer's start eye position
view_shading, view_colour, view_tracers, view_blocks
                             the viewer's start modes, as the VIEW_...= words)";

// name joined to the settings file's folder; None for no name.
std::optional<std::string> optional_path_in(const config_record& c, const std::string& name) {
    if (name.empty())
        return std::nullopt;
    return (c.folder / name).string();
}

// Config's attributes in the order repr shows them.
constexpr std::array<const char*, 19> config_keys{"boundary_file",
                                                  "tracer_file",
                                                  "horizon_file",
                                                  "present_horizon_file",
                                                  "undeformed_horizon_file",
                                                  "boundary_path",
                                                  "tracer_path",
                                                  "horizon_path",
                                                  "present_horizon_path",
                                                  "undeformed_horizon_path",
                                                  "tracer_radius",
                                                  "clear_color",
                                                  "show_block",
                                                  "show_tracer",
                                                  "initial_view_point",
                                                  "view_shading",
                                                  "view_colour",
                                                  "view_tracers",
                                                  "view_blocks"};

std::string config_repr(const py::object& config) {
    std::string text = "tolvex.Config(";
    for (const char* key : config_keys)
        text += std::string(key == config_keys.front() ? "" : ", ") + key + "=" +
                py::repr(config.attr(key)).cast<std::string>();
    return text + ")";
}

// Floats as the doubles of their shortest text, so 0.16 reads 0.16 and not 0.1599999964.
double as_double(float x) {
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, x).ptr;
    double d = 0.0;
    std::from_chars(buf, end, d);
    return d;
}

double as_double(double x) {
    return x;
}

py::tuple as_tuple(const auto& values) {
    py::tuple t(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        t[i] = as_double(values[i]);
    return t;
}

block read_boundary(const std::filesystem::path& path) {
    std::optional<block> b;
    {
        py::gil_scoped_release nogil;
        b = read_boundary_file(path.string());
    }
    if (!b)
        raise_cannot_open(path.string());
    return std::move(*b);
}

std::vector<fault> read_faults(const std::filesystem::path& path) {
    std::optional<std::vector<fault>> faults;
    std::vector<std::string> notes;
    {
        py::gil_scoped_release nogil;
        faults = read_fault_file(path.string(),
                                 [&notes](const std::string& text) { notes.push_back(text); });
    }
    if (!faults)
        raise_cannot_open(path.string());
    for (const std::string& note : notes)
        warn_input(note);
    return std::move(*faults);
}

py::array_t<double> read_tracers(const std::filesystem::path& path, py::handle tracer_radius) {
    const double radius = checked_radius(real_from_value(tracer_radius, "tracer_radius"));
    point_list tracers;
    bool opened = false;
    {
        py::gil_scoped_release nogil;
        opened = read_tracer_file(path.string(), radius, tracers);
    }
    if (!opened)
        raise_cannot_open(path.string());
    return array_from_points(tracers);
}

config_record read_config(const std::filesystem::path& path) {
    return {read_settings(path.string()), path.parent_path()};
}

// The settings and the folder, every value exactly (the colour's floats widen without loss).
py::tuple config_state(const config_record& c) {
    const tolvex_conf& t = c.settings;
    const display_modes& m = t.view_modes;
    return py::make_tuple(t.boundary_file, t.tracer_file, t.clear_color, t.tracer_radius,
                          t.show_block, t.show_tracer, t.initial_view_point, c.folder,
                          t.horizon_file, shading_word(m.lit), mode_word(m.colouring),
                          mode_word(m.tracers), mode_word(m.blocks), t.present_horizon_file,
                          t.undeformed_horizon_file);
}

config_record config_from_state(const py::tuple& s) {
    // 13 values from before each run had horizons of its own.
    if (s.size() != 13 && s.size() != 15)
        throw py::value_error("Config state: expected 15 values, got " + std::to_string(s.size()));
    config_record c;
    c.settings.boundary_file = s[0].cast<std::string>();
    c.settings.tracer_file = s[1].cast<std::string>();
    c.settings.clear_color = s[2].cast<std::array<float, 4>>();
    c.settings.tracer_radius = s[3].cast<double>();
    c.settings.show_block = s[4].cast<bool>();
    c.settings.show_tracer = s[5].cast<bool>();
    c.settings.initial_view_point = s[6].cast<xyz>();
    c.settings.loaded = true;
    c.folder = s[7].cast<std::filesystem::path>();
    c.settings.horizon_file = s[8].cast<std::string>();
    display_modes& m = c.settings.view_modes;
    const auto word = [&s](std::size_t i) { return s[i].cast<std::string>(); };
    m.lit = lit_named(word(9)).value_or(m.lit);
    m.colouring = colouring_named(word(10)).value_or(m.colouring);
    m.tracers = tracer_look_named(word(11)).value_or(m.tracers);
    m.blocks = block_look_named(word(12)).value_or(m.blocks);
    if (s.size() == 15) {
        c.settings.present_horizon_file = word(13);
        c.settings.undeformed_horizon_file = word(14);
    }
    return c;
}

} // namespace

tolvex_conf read_settings(const std::string& path) {
    tolvex_conf conf;
    // A file that cannot be read is an OSError, not one of the problems of its lines.
    if (!conf.read(path))
        raise_cannot_open(path);
    if (!conf.problems.empty())
        throw conf.problems.front();
    return conf;
}

double checked_radius(double radius) {
    // A negative scale would mirror every tracer through the centre: never what a scale means.
    if (!(radius > 0.0) || tracer_radius_problem(radius))
        throw py::value_error("tracer_radius must be a positive finite number, got " +
                              py::repr(py::float_(radius)).cast<std::string>());
    return radius;
}

void add_readers(py::module_& m) {
    py::class_<config_record>(m, "Config", config_doc)
        .def_property_readonly("boundary_file",
                               [](const config_record& c) { return c.settings.boundary_file; })
        .def_property_readonly("tracer_file",
                               [](const config_record& c) { return c.settings.tracer_file; })
        .def_property_readonly(
            "boundary_path",
            [](const config_record& c) { return (c.folder / c.settings.boundary_file).string(); })
        .def_property_readonly(
            "tracer_path",
            [](const config_record& c) { return (c.folder / c.settings.tracer_file).string(); })
        .def_property_readonly("horizon_file",
                               [](const config_record& c) { return c.settings.horizon_file; })
        .def_property_readonly(
            "present_horizon_file",
            [](const config_record& c) { return c.settings.present_horizon_file; })
        .def_property_readonly(
            "undeformed_horizon_file",
            [](const config_record& c) { return c.settings.undeformed_horizon_file; })
        .def_property_readonly(
            "horizon_path",
            [](const config_record& c) { return optional_path_in(c, c.settings.horizon_file); })
        .def_property_readonly("present_horizon_path",
                               [](const config_record& c) {
                                   return optional_path_in(c, c.settings.present_horizon_file);
                               })
        .def_property_readonly("undeformed_horizon_path",
                               [](const config_record& c) {
                                   return optional_path_in(c, c.settings.undeformed_horizon_file);
                               })
        .def_property_readonly("tracer_radius",
                               [](const config_record& c) { return c.settings.tracer_radius; })
        .def_property_readonly(
            "clear_color", [](const config_record& c) { return as_tuple(c.settings.clear_color); })
        .def_property_readonly("show_block",
                               [](const config_record& c) { return c.settings.show_block; })
        .def_property_readonly("show_tracer",
                               [](const config_record& c) { return c.settings.show_tracer; })
        .def_property_readonly(
            "initial_view_point",
            [](const config_record& c) { return as_tuple(c.settings.initial_view_point); })
        .def_property_readonly(
            "view_shading",
            [](const config_record& c) { return shading_word(c.settings.view_modes.lit); })
        .def_property_readonly(
            "view_colour",
            [](const config_record& c) { return mode_word(c.settings.view_modes.colouring); })
        .def_property_readonly(
            "view_tracers",
            [](const config_record& c) { return mode_word(c.settings.view_modes.tracers); })
        .def_property_readonly(
            "view_blocks",
            [](const config_record& c) { return mode_word(c.settings.view_modes.blocks); })
        .def("__repr__", &config_repr)
        .def(py::pickle(&config_state, &config_from_state));

    m.def("read_boundary", &read_boundary, read_boundary_doc.c_str(), py::arg("path"));
    m.def("read_faults", &read_faults, read_faults_doc.c_str(), py::arg("path"));
    m.def("read_tracers", &read_tracers, read_tracers_doc.c_str(), py::arg("path"),
          py::arg("tracer_radius") = 100.0);
    m.def("read_config", &read_config, read_config_doc.c_str(), py::arg("path"));
}

} // namespace tolvex
