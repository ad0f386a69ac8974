#include "python/py_mesh.hpp"

#include "geometry/block.hpp"
#include "geometry/outward_faces.hpp"
#include "python/array_convert.hpp"
#include "python/py_errors.hpp"

#include <algorithm>

namespace tolvex {

namespace py = pybind11;

namespace {

constexpr const char* mesh_doc = R"(Blocks as one polygon mesh, as pyvista and meshio take it.

points     (P, 3) float64, every block's vertices in list order
faces      int64, the faces as a VTK cell array: for each face its corner count, then its
           corners (rows of points), counter-clockwise seen from outside its block
block      (C,) int64, each face's block (position in the list given to mesh)
normals    (C, 3) float64, each face's outward unit normal
cells      meshio's form of the same faces in the same order: a list of (cell type, (k, n)
           int64 array), one per corner count ('triangle', 'quad', else 'polygon')
cell_data  {'block': block split as cells is}, for meshio

Faces are ordered by corner count (within one count, by block), so that both forms share one
order. Example:
    m = tolvex.mesh(result.forward.blocks)
    pyvista.PolyData(m.points, m.faces).cell_data['block'] = m.block
    meshio.Mesh(m.points, m.cells, cell_data=m.cell_data).write('blocks.vtu'))";

constexpr const char* mesh_fn_doc = R"(mesh(blocks)
--

The blocks (any iterable of Block, such as RunState.blocks) as one polygon mesh: see Mesh.)";

struct mesh_view {
    py::array_t<double> points;
    py::array_t<std::int64_t> faces;
    py::array_t<std::int64_t> block;
    py::array_t<double> normals;
    py::list cells;
    py::dict cell_data;
};

struct mesh_face {
    int block;
    face outward; // corners already offset to the mesh's points
};

const char* cell_type(std::size_t corners) {
    return corners == 3 ? "triangle" : corners == 4 ? "quad" : "polygon";
}

py::array_t<std::int64_t> corner_rows(std::span<const mesh_face> faces) {
    const std::size_t n = faces.front().outward.indices.size();
    py::array_t<std::int64_t> a(
        {static_cast<py::ssize_t>(faces.size()), static_cast<py::ssize_t>(n)});
    auto w = a.mutable_unchecked<2>();
    for (std::size_t i = 0; i < faces.size(); ++i)
        for (std::size_t j = 0; j < n; ++j)
            w(i, j) = faces[i].outward.indices[j];
    return a;
}

mesh_view blocks_mesh(py::handle blocks) {
    point_list points;
    std::vector<mesh_face> faces;
    int count = 0;
    for (const py::handle item : blocks) {
        if (!py::isinstance<block>(item))
            throw py::type_error("blocks[" + std::to_string(count) +
                                 "]: expected a tolvex.Block, got " + type_name(item));
        const block& b = item.cast<const block&>();
        const int base = static_cast<int>(points.size());
        for (face f : outward_faces(b)) {
            for (int& i : f.indices)
                i += base;
            faces.push_back({count, std::move(f)});
        }
        points.insert(points.end(), b.vertices.begin(), b.vertices.end());
        ++count;
    }
    std::stable_sort(faces.begin(), faces.end(), [](const mesh_face& a, const mesh_face& b) {
        return a.outward.indices.size() < b.outward.indices.size();
    });

    std::vector<int> flat, owner;
    point_list normals;
    for (const mesh_face& f : faces) {
        flat.push_back(static_cast<int>(f.outward.indices.size()));
        flat.insert(flat.end(), f.outward.indices.begin(), f.outward.indices.end());
        owner.push_back(f.block);
        normals.push_back(f.outward.normal);
    }
    mesh_view mesh{array_from_points(points),
                   array_from_indices(flat),
                   array_from_indices(owner),
                   array_from_points(normals),
                   py::list(),
                   py::dict()};
    py::list owners;
    for (std::size_t start = 0; start < faces.size();) {
        const std::size_t n = faces[start].outward.indices.size();
        std::size_t end = start;
        while (end < faces.size() && faces[end].outward.indices.size() == n)
            ++end;
        const std::span<const mesh_face> group(faces.data() + start, end - start);
        mesh.cells.append(py::make_tuple(cell_type(n), corner_rows(group)));
        owners.append(array_from_indices(std::span<const int>(owner).subspan(start, end - start)));
        start = end;
    }
    mesh.cell_data["block"] = owners;
    return mesh;
}

} // namespace

py::array_t<std::int64_t> tracer_blocks(const py::list& blocks, std::size_t tracer_count) {
    std::vector<int> owner(tracer_count, -1);
    int position = 0;
    for (const py::handle item : blocks) {
        for (int t : item.cast<const block&>().tracer_indices)
            if (t >= 0 && static_cast<std::size_t>(t) < tracer_count)
                owner[static_cast<std::size_t>(t)] = position;
        ++position;
    }
    return array_from_indices(owner);
}

void add_mesh(py::module_& m) {
    py::class_<mesh_view>(m, "Mesh", mesh_doc)
        .def_readonly("points", &mesh_view::points)
        .def_readonly("faces", &mesh_view::faces)
        .def_readonly("block", &mesh_view::block)
        .def_readonly("normals", &mesh_view::normals)
        .def_readonly("cells", &mesh_view::cells)
        .def_readonly("cell_data", &mesh_view::cell_data)
        .def("__repr__", [](const mesh_view& v) {
            return "<tolvex.Mesh: " + std::to_string(v.points.shape(0)) + " points, " +
                   std::to_string(v.block.shape(0)) + " faces>";
        });
    m.def("mesh", &blocks_mesh, mesh_fn_doc, py::arg("blocks"));
}

} // namespace tolvex
