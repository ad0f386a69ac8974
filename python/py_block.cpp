#include "python/py_block.hpp"

#include "geometry/block.hpp"
#include "geometry/outward_faces.hpp"
#include "model/boundary_from_faces.hpp"
#include "python/array_convert.hpp"

namespace tolvex {

namespace py = pybind11;

namespace {

constexpr const char* block_doc = R"(One convex polyhedron: the boundary, or a block of a result.

Read-only attributes (new read-only NumPy arrays on each access; copy them to change them):

vertices        (V, 3) float64, model units; in results relative to the boundary's centre
edges           (E, 2) int64, the two vertex indices of each edge
faces           list of int64 arrays, each the vertex indices of one face, counter-clockwise
                seen from outside the block
normals         (F, 3) float64, each face's outward unit normal
fault_indices   int64, the faults the block carries (positions in its run's faults list)
tracer_indices  int64, the tracers inside the block (rows of its run's tracers)

Blocks come from read_boundary, boundary_from_arrays and run results; they have no
constructor of their own. They can be pickled and copied; tolvex.mesh(blocks) gives a list of
them as one mesh.)";

constexpr const char* boundary_from_arrays_doc = R"(boundary_from_arrays(vertices, faces)
--

A boundary (a Block) from its vertices and faces.

vertices is a (V, 3) array of real numbers (model units); faces a sequence of F sequences of
integers, each the 0-based indices of one face's corners in order round the face (either way
round). The edges are the sides of the faces; each normal is computed and points outward.

The faces must close one convex polyhedron, checked as the boundary file reader checks it:
every face flat, convex and with three or more corners, every side on exactly two faces, no two
vertices at one place, every vertex on the inner side of every face. Raises ValueError naming the
face, edge or vertex (0-based) and what is wrong, TypeError for indices that are not integers or
vertices that are not real numbers.

Example, the cube [0, 2]^3:
    v = [(x, y, z) for z in (0, 2) for y in (0, 2) for x in (0, 2)]
    cube = tolvex.boundary_from_arrays(v, [(0, 2, 3, 1), (4, 5, 7, 6), (0, 1, 5, 4),
                                           (2, 6, 7, 3), (0, 4, 6, 2), (1, 3, 7, 5)]))";

// A cut face holds its fault's normal on both halves, so the corner order and normal users see
// are the exports': counter-clockwise from outside, pointing out.
py::list face_arrays(const block& b) {
    py::list faces;
    for (const face& f : outward_faces(b))
        faces.append(array_from_indices({f.indices.data(), f.indices.size()}));
    return faces;
}

py::array_t<double> normal_array(const block& b) {
    point_list normals;
    normals.reserve(b.faces.size());
    for (const face& f : outward_faces(b))
        normals.push_back(f.normal);
    return array_from_points(normals);
}

// What a Block holds as it holds it (faces in their stored order and normals), for pickling.
py::tuple block_state(const block& b) {
    std::vector<int> edge_ends;
    for (const edge& e : b.edges)
        edge_ends.insert(edge_ends.end(), e.begin(), e.end());
    py::list faces;
    point_list normals;
    for (const face& f : b.faces) {
        faces.append(array_from_indices({f.indices.data(), f.indices.size()}));
        normals.push_back(f.normal);
    }
    return py::make_tuple(array_from_points(b.vertices), array_from_indices(edge_ends), faces,
                          array_from_points(normals), array_from_indices(b.fault_indices),
                          array_from_indices(b.tracer_indices));
}

block block_from_state(const py::tuple& s) {
    if (s.size() != 6)
        throw py::value_error("Block state: expected 6 values, got " + std::to_string(s.size()));
    block b;
    b.vertices = points_from_array(s[0], "Block state vertices");
    const index_list ends = indices_from_array(s[1], "Block state edges");
    for (std::size_t i = 0; i + 1 < ends.size(); i += 2)
        b.edges.push_back({ends[i], ends[i + 1]});
    const point_list normals = points_from_array(s[3], "Block state normals");
    const auto faces = s[2].cast<py::sequence>();
    if (faces.size() != normals.size())
        throw py::value_error("Block state: the faces and normals differ in number");
    for (std::size_t i = 0; i < normals.size(); ++i) {
        const index_list corners = indices_from_array(faces[i], "Block state faces");
        b.faces.push_back({{corners.begin(), corners.end()}, normals[i]});
    }
    b.fault_indices = indices_from_array(s[4], "Block state fault_indices");
    b.tracer_indices = indices_from_array(s[5], "Block state tracer_indices");
    return b;
}

block boundary_arrays(py::handle vertices, py::handle faces) {
    point_list v = points_from_array(vertices, "vertices");
    std::vector<index_list> corners;
    for (const py::handle f : faces)
        corners.push_back(indices_from_array(f, "faces[" + std::to_string(corners.size()) + "]"));
    return boundary_from_faces(std::move(v), std::move(corners));
}

} // namespace

void add_block_type(py::module_& m) {
    py::class_<block>(m, "Block", block_doc)
        .def_property_readonly(
            "vertices", [](const block& b) { return array_from_points(b.vertices); },
            "(V, 3) float64 vertices")
        .def_property_readonly(
            "edges", [](const block& b) { return array_from_edges(b.edges); },
            "(E, 2) int64 vertex indices")
        .def_property_readonly("faces", &face_arrays,
                               "list of int64 corner-index arrays, counter-clockwise from outside")
        .def_property_readonly("normals", &normal_array, "(F, 3) float64 outward unit normals")
        .def_property_readonly(
            "fault_indices", [](const block& b) { return array_from_indices(b.fault_indices); },
            "int64 positions of the faults it carries")
        .def_property_readonly(
            "tracer_indices", [](const block& b) { return array_from_indices(b.tracer_indices); },
            "int64 rows of the tracers inside it")
        .def("__repr__",
             [](const block& b) {
                 return "<tolvex.Block: " + std::to_string(b.vertices.size()) + " vertices, " +
                        std::to_string(b.faces.size()) + " faces, " +
                        std::to_string(b.tracer_indices.size()) + " tracers>";
             })
        .def(py::pickle(&block_state, &block_from_state));
    m.def("boundary_from_arrays", &boundary_arrays, boundary_from_arrays_doc, py::arg("vertices"),
          py::arg("faces"));
}

} // namespace tolvex
