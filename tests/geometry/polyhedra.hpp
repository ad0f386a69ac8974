// Test polyhedra and the checks that every block a cut produces must pass.
#pragma once

#include "geometry/block.hpp"
#include "tests/support/box.hpp"

#include <random>
#include <string>

// A prism over a random convex polygon of 3 to 12 corners, between z = 0 and z = height.
block make_prism(std::mt19937& rng, double height);

// A prism over the given convex polygon (counter-clockwise in the plane z = 0), up to z = height.
block make_prism_over(const point_list& polygon, double height);

// Two pyramids on a random convex polygon in the plane z = 0, apexes above and below.
block make_bipyramid(std::mt19937& rng);

// The triangulated convex hull of 6 to 24 random points on an ellipsoid about the origin, faces
// wound outward; neighbouring triangles can be nearly coplanar.
block make_hull(std::mt19937& rng);

// b with every face of more than three corners fanned into triangles from its first corner; the
// triangles of one face are coplanar.
block triangulated(const block& b);

// Volume of a convex block (fan tetrahedra from the vertex centroid).
double volume(const block& b);

// Newell normal of a face (its length is twice the face's area).
vec3 face_normal(const block& b, const face& f);

// Empty when b is a sound convex polyhedron: valid indices, faces of three or more distinct
// corners that are planar and convex, each edge the side of exactly two faces and each side an
// edge, no zero-length edge, V - E + F = 2, every face plane supporting. Otherwise what is wrong.
std::string polyhedron_problem(const block& b);

// Whether the lists hold the same values bit for bit (blocks: vertices, edges, faces with their
// normals, fault and tracer indices).
bool identical_points(const point_list& a, const point_list& b);
bool identical_blocks(const std::vector<block>& a, const std::vector<block>& b);

// Empty when point lies inside or on the convex block b (within a tolerance relative to its size).
std::string containment_problem(const block& b, const vec3& point);
