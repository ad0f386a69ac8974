// The form a block takes while faults cut it: its geometry in two flat arrays in a shape arena, so
// that making a half costs no allocation of its own, and each face side carries the index of its
// edge, so that clipping a face never searches for an edge.
#pragma once

#include "geometry/block.hpp"
#include "geometry/block_set.hpp"
#include "geometry/detail/shape_arena.hpp"
#include "geometry/flat_list.hpp"
#include "geometry/xyz.hpp"

#include <array>
#include <memory>
#include <utility>
#include <vector>

// Refers to its two arrays, back to back in the arena that holds them; copies are shallow.
struct work_block {
    // the vertices, then one normal per face
    xyz* points = nullptr;
    // 2 ends per edge, face starts (faces + 1), face windings, face sources, corners, side edges
    int* ints = nullptr;
    int vertex_count = 0;
    int edge_count = 0;
    int face_count = 0;
    int face_offset = 0;   // where the face starts begin in ints
    int corner_offset = 0; // where the corners begin in ints
    int side_offset = 0;   // where the side edges begin in ints
    // False when some face side joins two vertices that no edge joins; such a block cannot be cut.
    bool sides_are_edges = true;

    const xyz& vertex(int v) const { return points[v]; }
    const xyz& normal(int f) const { return points[vertex_count + f]; }
    int edge_end(int e, int k) const { return ints[2 * e + k]; }
    // Corner positions of face f run from face_begin(f) to face_begin(f + 1).
    int face_begin(int f) const { return ints[face_offset + f]; }
    // Whether face f's corners run clockwise seen from outside the block. Cut faces run
    // counter-clockwise about the fault normal in both halves, so the positive half's is.
    bool clockwise(int f) const { return ints[face_offset + face_count + 1 + f] != 0; }
    // What made face f: the index of the face of the given block it was cut from, or
    // cut_face_source(k) for the cut face of the fault at position k.
    int source(int f) const { return ints[face_offset + 2 * face_count + 1 + f]; }
    int corner(int i) const { return ints[corner_offset + i]; }
    // The edge joining corner i to the next corner of its face, or -1 when none does.
    int side_edge(int i) const { return ints[side_offset + i]; }
    // A corner position of face f and the one after it, cyclically.
    int next_corner(int f, int i) const {
        return i + 1 == face_begin(f + 1) ? face_begin(f) : i + 1;
    }
    int previous_corner(int f, int i) const {
        return i == face_begin(f) ? face_begin(f + 1) - 1 : i - 1;
    }
};

// A work_block under construction, in separate growable lists; capacity is kept between uses.
// Its lists may be sized ahead and written in place: sizing them leaves new elements unset.
struct work_block_parts {
    template <class T> using list = flat_list<T>;
    list<xyz> vertices;
    list<edge> edges;
    list<int> face_begin{0};
    list<int> clockwise;
    list<int> sources;
    list<int> corners;
    list<int> side_edges;
    list<xyz> normals;
    bool sides_are_edges = true;

    void clear();
    // Closes the face whose corners and side edges were appended since the last one.
    void end_face(const xyz& normal, bool runs_clockwise, int source);
    // The bytes the block of these parts takes packed.
    std::size_t bytes() const;
    // The block of these parts, stored at storage, which has room for bytes().
    work_block pack_at(std::byte* storage) const;
    // The same, stored in arena.
    work_block pack_into(shape_arena& arena) const;
};

// The bytes that w takes in its arena.
std::size_t shape_bytes(const work_block& w);

// b in working form, built in parts (whose previous content is dropped) and stored in arena.
work_block to_work_block(const block& b, work_block_parts& parts, shape_arena& arena);
