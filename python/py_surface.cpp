#include "python/py_surface.hpp"

#include "model/fault_label.hpp"
#include "python/array_convert.hpp"

#include <algorithm>
#include <pybind11/stl.h>

namespace tolvex {

namespace py = pybind11;

namespace {

constexpr const char* surface_doc = R"(A triangulated surface a run made, read-only.

name       str: the horizon's name, or the fault's identifier and tag with '(+)' for the wall on
           the side its normal points to (the one its slip moves) or '(-)' for the other
vertices   (V, 3) float64, in the boundary file's coordinates (Result.centre added, as the
           files save_horizons and save_fault_surfaces write; blocks and tracers are relative
           to the centre)
triangles  (T, 3) int64, rows of vertices; each convex piece is fanned into triangles that
           share its corners, counter-clockwise for a fault wall seen from outside its block
cell_data  dict of (T,) int64 values per triangle, each also an attribute (surface.block):
           RunState.horizons:        horizon (position in the horizons given), block (position
                                     in RunState.blocks), triangle (the horizon's triangle the
                                     piece was cut from)
           RunState.fault_surfaces:  fault (position in RunState.faults), side (+1 or -1),
                                     block

Surfaces can be pickled and copied.)";

// Pieces with fewer than three corners have no area and give no triangle.
std::size_t fan_size(std::size_t corners) {
    return corners < 3 ? 0 : corners - 2;
}

py::array_t<std::int64_t> int_array(std::size_t n) {
    return py::array_t<std::int64_t>(static_cast<py::ssize_t>(n));
}

surface_view surface_from_state(const py::tuple& s) {
    if (s.size() != 4)
        throw py::value_error("Surface state: expected 4 values, got " + std::to_string(s.size()));
    const std::vector<triangle> triangles = triangles_from_array(s[2], "Surface state triangles");
    py::dict cell_data;
    for (const auto& [name, values] : s[3].cast<py::dict>()) {
        const index_list v = indices_from_array(values, "Surface state cell_data");
        if (v.size() != triangles.size())
            throw py::value_error("Surface state: cell data of another length than triangles");
        cell_data[name] = array_from_indices(v);
    }
    return {s[0].cast<std::string>(),
            array_from_points(points_from_array(s[1], "Surface state vertices")),
            array_from_triangles(triangles), cell_data};
}

} // namespace

std::vector<surface_view> fanned_surfaces(const polygon_list& polygons, std::span<const int> group,
                                          const std::vector<std::string>& names,
                                          const std::vector<polygon_column>& columns,
                                          const vec3& centre) {
    const std::size_t n = names.size(), count = group.size();
    const auto corners_of = [&](std::size_t p) {
        return polygons.corner_offset[p + 1] - polygons.corner_offset[p];
    };
    std::vector<std::size_t> corners(n, 0), triangles(n, 0);
    for (std::size_t p = 0; p < count; ++p) {
        corners[group[p]] += corners_of(p);
        triangles[group[p]] += fan_size(corners_of(p));
    }
    std::vector<surface_view> out;
    std::vector<double*> vertex_at;
    std::vector<std::int64_t*> triangle_at;
    std::vector<std::vector<std::int64_t*>> value_at(n);
    for (std::size_t g = 0; g < n; ++g) {
        surface_view s{
            names[g], py::array_t<double>({static_cast<py::ssize_t>(corners[g]), py::ssize_t{3}}),
            py::array_t<std::int64_t>({static_cast<py::ssize_t>(triangles[g]), py::ssize_t{3}}),
            py::dict()};
        vertex_at.push_back(s.vertices.mutable_data());
        triangle_at.push_back(s.triangles.mutable_data());
        for (const auto& [name, values] : columns) {
            py::array_t<std::int64_t> a = int_array(triangles[g]);
            value_at[g].push_back(a.mutable_data());
            s.cell_data[py::str(name)] = a;
        }
        out.push_back(std::move(s));
    }
    std::vector<std::int64_t> next_corner(n, 0);
    for (std::size_t p = 0; p < count; ++p) {
        const std::size_t g = static_cast<std::size_t>(group[p]);
        const std::int64_t base = next_corner[g];
        for (std::size_t c = polygons.corner_offset[p]; c < polygons.corner_offset[p + 1]; ++c)
            for (int j = 0; j < 3; ++j)
                *vertex_at[g]++ = polygons.corners[c][j] + centre[j];
        next_corner[g] += static_cast<std::int64_t>(corners_of(p));
        for (std::size_t i = 1; i <= fan_size(corners_of(p)); ++i) {
            *triangle_at[g]++ = base;
            *triangle_at[g]++ = base + static_cast<std::int64_t>(i);
            *triangle_at[g]++ = base + static_cast<std::int64_t>(i) + 1;
            for (std::size_t k = 0; k < columns.size(); ++k)
                *value_at[g][k]++ = columns[k].second[p];
        }
    }
    for (surface_view& s : out) {
        s.vertices = read_only(std::move(s.vertices));
        s.triangles = read_only(std::move(s.triangles));
        for (const auto& [name, values] : s.cell_data)
            values.attr("setflags")(py::arg("write") = false);
    }
    return out;
}

py::list horizon_surface_list(const horizon_pieces& pieces, const std::vector<horizon>& horizons,
                              const vec3& centre) {
    std::vector<std::string> names;
    for (const horizon& h : horizons)
        names.push_back(h.name);
    py::list out;
    for (surface_view& s : fanned_surfaces(
             pieces.polygons, pieces.horizon, names,
             {{"horizon", pieces.horizon}, {"block", pieces.block}, {"triangle", pieces.triangle}},
             centre))
        out.append(py::cast(std::move(s)));
    return out;
}

py::list fault_wall_list(const fault_surfaces& walls, const std::vector<fault>& faults,
                         const vec3& centre) {
    // Fault k's + wall is surface 2k, its - wall 2k + 1.
    std::vector<int> wall(walls.polygons.size());
    for (std::size_t p = 0; p < walls.polygons.size(); ++p)
        wall[p] = 2 * walls.fault[p] + (walls.side[p] > 0 ? 0 : 1);
    std::vector<std::string> names;
    for (const fault& f : faults)
        for (const char* side : {" (+)", " (-)"})
            names.push_back(fault_short_label(f) + side);
    py::list out;
    for (surface_view& s : fanned_surfaces(
             walls.polygons, wall, names,
             {{"fault", walls.fault}, {"side", walls.side}, {"block", walls.block}}, centre))
        if (s.triangles.shape(0) > 0)
            out.append(py::cast(std::move(s)));
    return out;
}

void append_surface(surface_set& set, const surface_view& s,
                    const std::function<int(const std::string&, std::int64_t)>& map) {
    set.surfaces.push_back({s.name, points_from_array(s.vertices, "vertices"),
                            triangles_from_array(s.triangles, "triangles")});
    for (auto& [name, values] : set.cell_data) {
        const auto column = s.cell_data[py::str(name)].cast<py::array_t<std::int64_t>>();
        const auto r = column.unchecked<1>();
        for (py::ssize_t i = 0; i < r.shape(0); ++i)
            values.push_back(map(name, r(i)));
    }
}

void add_surface_type(py::module_& m) {
    py::class_<surface_view>(m, "Surface", surface_doc)
        .def_readonly("name", &surface_view::name)
        .def_readonly("vertices", &surface_view::vertices)
        .def_readonly("triangles", &surface_view::triangles)
        .def_property_readonly("cell_data",
                               [](const surface_view& s) { return py::dict(s.cell_data); })
        .def("__getattr__",
             [](const surface_view& s, const std::string& name) -> py::object {
                 if (!s.cell_data.contains(name))
                     throw py::attribute_error("tolvex.Surface has no attribute or cell data '" +
                                               name + "'");
                 return s.cell_data[py::str(name)];
             })
        .def("__repr__",
             [](const surface_view& s) {
                 return "<tolvex.Surface '" + s.name +
                        "': " + std::to_string(s.triangles.shape(0)) + " triangles>";
             })
        .def(py::pickle(
            [](const surface_view& s) {
                return py::make_tuple(s.name, s.vertices, s.triangles, s.cell_data);
            },
            &surface_from_state));
}

} // namespace tolvex
