// Where a boundary's vertices lie: face planes and the shape of the polyhedron they make.
#pragma once

#include "model/boundary_check.hpp"

namespace tolvex {

// The plane of a face: the mean of its corners, the unit normal seen from which the corners run
// counter-clockwise (zero when they enclose no area) and the area they enclose. Corners must be
// indices into vertices.
struct face_plane {
    vec3 point;
    vec3 normal;
    double area;
};
face_plane plane_of_face(const point_list& vertices, const corner_list& corners);

// The first geometric problem of b (see check_boundary: everything from the vertices at one
// place on), or nullopt. b must have passed check_boundary_topology. name names other faces in
// reasons; written_step is check_boundary's.
std::optional<boundary_problem> check_boundary_geometry(const block& b, const part_namer& name,
                                                        double written_step);

} // namespace tolvex
