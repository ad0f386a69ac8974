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
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// A vertex, edge or corner position within one block: blocks have tens of each, so 16 bits hold
// them in half the room; no_local stands for none.
using local_index = std::uint16_t;
constexpr int no_local = 0xFFFF;
constexpr int max_locals = 0xFFFF; // of each kind in a block

// Refers to its three arrays, back to back in the arena that holds them; copies are shallow. Face
// normals are not held: a face's source names the given face or the fault it has its normal from
// (block_store's face_normal).
struct work_block {
    // the vertices
    xyz* points = nullptr;
    // per face: what made it (see source)
    int* sources = nullptr;
    // 2 ends per edge, face starts (faces + 1), face windings, corners, side edges
    local_index* locals = nullptr;
    int vertex_count = 0;
    int edge_count = 0;
    int face_count = 0;
    int face_offset = 0;   // where the face starts begin in locals
    int corner_offset = 0; // where the corners begin in locals
    int side_offset = 0;   // where the side edges begin in locals
    // False when some face side joins two vertices that no edge joins; such a block cannot be cut.
    bool sides_are_edges = true;

    const xyz& vertex(int v) const { return points[v]; }
    int edge_end(int e, int k) const { return locals[2 * e + k]; }
    // Corner positions of face f run from face_begin(f) to face_begin(f + 1).
    int face_begin(int f) const { return locals[face_offset + f]; }
    // Whether face f's corners run clockwise seen from outside the block. Cut faces run
    // counter-clockwise about the fault normal in both halves, so the positive half's is.
    bool clockwise(int f) const { return locals[face_offset + face_count + 1 + f] != 0; }
    // What made face f: the index of the face of the given block it was cut from, or
    // cut_face_source(k) for the cut face of the fault at position k.
    int source(int f) const { return sources[f]; }
    int corner(int i) const { return locals[corner_offset + i]; }
    // The edge joining corner i to the next corner of its face, or -1 when none does.
    int side_edge(int i) const {
        const int e = locals[side_offset + i];
        return e == no_local ? -1 : e;
    }
    // A corner position of face f and the one after it, cyclically.
    int next_corner(int f, int i) const {
        return i + 1 == face_begin(f + 1) ? face_begin(f) : i + 1;
    }
    int previous_corner(int f, int i) const {
        return i == face_begin(f) ? face_begin(f + 1) - 1 : i - 1;
    }
};

// How many vertices, edges, faces and face corners a block has: they fix where its arrays lie.
struct block_counts {
    int vertices = 0;
    int edges = 0;
    int faces = 0;
    int corners = 0;
};

// The bytes a block of these counts takes.
std::size_t packed_bytes(const block_counts& counts);

// A block of these counts at storage, which has room for packed_bytes(counts), its arrays not yet
// written. Throws std::length_error when it has more vertices, edges or face corners than
// max_locals less one.
work_block lay_out(const block_counts& counts, std::byte* storage);

// w as it stands once its bytes are copied to storage.
work_block moved_to(const work_block& w, std::byte* storage);

// A work_block under construction, in separate growable lists; capacity is kept between uses.
// Its lists may be sized ahead and written in place: sizing them leaves new elements unset.
struct work_block_parts {
    template <class T> using list = flat_list<T>;
    list<xyz> vertices;
    list<edge> edges;
    list<int> face_begin{0};
    list<int> clockwise;
    list<int> sources;
    // As packed, so that packing copies them whole; values of max_locals or more wrap, but then
    // the block has too many vertices or edges to be packed.
    list<local_index> corners;
    list<local_index> side_edges; // no_local where no edge joins the corners
    bool sides_are_edges = true;

    void clear();
    // Closes the face whose corners and side edges were appended since the last one.
    void end_face(bool runs_clockwise, int source);
    block_counts counts() const;
    // The bytes the block of these parts takes packed.
    std::size_t bytes() const { return packed_bytes(counts()); }
    // The block of these parts, stored at storage, which has room for bytes(); throws as lay_out.
    work_block pack_at(std::byte* storage) const;
    // The same, stored in arena.
    work_block pack_into(shape_arena& arena) const;
};

// The bytes that w takes in its arena.
std::size_t shape_bytes(const work_block& w);

// b in working form, built in parts (whose previous content is dropped) and stored in arena; its
// face normals are appended to normals.
work_block to_work_block(const block& b, work_block_parts& parts, shape_arena& arena,
                         flat_list<xyz>& normals);
