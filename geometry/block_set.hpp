// The blocks of a run in a few large lists shared by all of them, each block's part found by its
// offsets, so that a run's result costs a handful of allocations instead of several per block, and
// is read through block_view. Per-face lists are indexed alike (normal indices, face sources), so
// what faces will carry next is one more list of that kind. A normal is held once however many
// faces share it: the faces a run makes share their faults' and the given faces' normals.
#pragma once

#include "geometry/block.hpp"
#include "geometry/flat_list.hpp"
#include "geometry/xyz.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

struct block_set {
    flat_list<xyz> vertices;
    flat_list<edge> edges;       // as indices into the block's own vertices
    flat_list<int> corners;      // of every face in turn, as indices into the block's vertices
    flat_list<int> face_begin;   // per block, its face count + 1 positions in its corners
    flat_list<xyz> normals;      // of the faces, found by normal_index
    flat_list<int> normal_index; // per face: where its normal is in normals
    flat_list<int> face_sources; // per face: what made it (see face_source_is_cut)
    flat_list<int> fault_indices;
    flat_list<int> tracer_indices;
    flat_list<xyz> displacement; // per block: how far it moved since the run started
    // Per block and one more: where its part of each list begins (face_begin's part of block b
    // begins at face_offset[b] + b).
    std::vector<std::size_t> vertex_offset{0};
    std::vector<std::size_t> edge_offset{0};
    std::vector<std::size_t> corner_offset{0};
    std::vector<std::size_t> face_offset{0};
    std::vector<std::size_t> fault_offset{0};
    std::vector<std::size_t> tracer_offset{0};
};

// A face source at or above zero is the index of the face of the given block that the face is
// part of; below zero it names the fault whose plane cut it.
constexpr bool face_source_is_cut(int source) {
    return source < 0;
}
constexpr int cut_fault(int source) {
    return -1 - source;
}
constexpr int cut_face_source(int fault) {
    return -1 - fault;
}

// The normals of one block's faces, read-only.
struct face_normals {
    const xyz* list = nullptr;
    std::span<const int> index;
    std::size_t size() const { return index.size(); }
    const xyz& operator[](std::size_t f) const { return list[index[f]]; }
};

// One block of a set, read-only; valid while the set is unchanged.
struct block_view {
    std::span<const xyz> vertices;
    std::span<const edge> edges;
    std::span<const int> corners;
    std::span<const int> face_begin; // face count + 1 positions in corners
    face_normals normals;
    std::span<const int> face_sources;
    std::span<const int> fault_indices;
    std::span<const int> tracer_indices;
    xyz displacement{};

    std::size_t face_count() const { return normals.size(); }
    std::span<const int> face_corners(std::size_t f) const {
        return corners.subspan(face_begin[f], face_begin[f + 1] - face_begin[f]);
    }
};

inline std::size_t block_count(const block_set& set) {
    return set.vertex_offset.size() - 1;
}

block_view view_of(const block_set& set, std::size_t b);

// The record of a view and of every block of a set, bit for bit.
block to_block(const block_view& view);
std::vector<block> to_blocks(const block_set& set);

// A set of the given records, each face's source and each block's displacement as they give them.
block_set to_block_set(const std::vector<block>& blocks);

// Where the normals of a set are held, found by their bits, so that a normal appended again is
// held once: the faces a run makes share a few hundred normals. to remembers, per index of the
// list appended from last, where its normal went (checked before it is trusted).
struct normal_places {
    struct bits_hash {
        std::size_t operator()(const std::array<std::uint64_t, 3>& bits) const;
    };
    std::unordered_map<std::array<std::uint64_t, 3>, int, bits_hash> at;
    std::vector<int> to;
};

// Appends normals as those of the next faces, each value held once in set as places knows it
// (places kept with set from the first append on).
void append_normals(block_set& set, const face_normals& normals, normal_places& places);

// Closes the block whose parts were appended since the last one, with its displacement.
void end_block(block_set& set, const xyz& displacement = {});
