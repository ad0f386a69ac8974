// The value records of the block model: sort keys, faces, convex blocks and cut points.
// Every record owns what it holds; copies are deep and records refer to each other only by
// 0-based indices.
#pragma once

#include "geometry/vector3.hpp"

#include <array>
#include <boost/container/small_vector.hpp>
#include <vector>

// Base of records sorted by a double key (faults by sequence number).
struct sortobj {
    double key;
};

struct sortobj_ascending {
    bool operator()(const sortobj& obj1, const sortobj& obj2) const { return obj1.key < obj2.key; }
};

struct sortobj_descending {
    bool operator()(const sortobj& obj1, const sortobj& obj2) const { return obj1.key > obj2.key; }
};

// The corners of one face. Faces of cut blocks rarely have more than eight, so they are held
// inline: a block's faces then take one allocation between them instead of one each.
using corner_list = boost::container::small_vector<int, 8>;

// One polygonal face: corners as indices into the owning block's vertices, in order around the
// polygon, and the normal it was given (never recomputed). source tells what made it, as in a
// block set's face_sources: a face of the run's starting block (its index there) or a fault's cut.
struct face {
    corner_list indices;
    vec3 normal = make_vec3(0.0, 0.0, 0.0);
    int source = 0;
};

// An edge: the indices of its two end points in the owning block's vertices. Edges are only ever
// pairs, so they are held inline instead of as a heap-allocated list each.
using edge = std::array<int, 2>;

// One convex polyhedron with the fault reference points and tracer points it carries, and how far
// it has moved since its run started: less that, its vertices are where its part of the start
// block was, which is how what it carries from the start (horizons) is found in it.
struct block {
    point_list vertices;
    std::vector<edge> edges;
    std::vector<face> faces;
    index_list fault_indices;
    index_list tracer_indices;
    vec3 displacement = make_vec3(0.0, 0.0, 0.0);
};

// A corner of the polygon where a cutting plane meets the block being cut: a point where it
// crosses edge `edge`, or a vertex lying on it. Along the polygon, key is its position.
struct intersection_point : sortobj {
    intersection_point() : sortobj{0.0} {}
    vec3 point = make_vec3(0.0, 0.0, 0.0);
    int edge = 0;
};
