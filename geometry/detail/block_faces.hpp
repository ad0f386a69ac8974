// One read of a block's vertices and faces, whether it is a record or a view of a block set, for
// the few functions that take either without copying one into the other.
#pragma once

#include "geometry/block.hpp"
#include "geometry/block_set.hpp"
#include "geometry/xyz.hpp"

#include <span>

struct view_faces {
    block_view b;

    std::size_t vertex_count() const { return b.vertices.size(); }
    xyz vertex(std::size_t v) const { return b.vertices[v]; }
    std::size_t face_count() const { return b.face_count(); }
    std::span<const int> corners(std::size_t f) const { return b.face_corners(f); }
    xyz normal(std::size_t f) const { return b.normals[f]; }
    int source(std::size_t f) const { return b.face_sources[f]; }
    xyz displacement() const { return b.displacement; }
};

struct record_faces {
    const block& b;

    std::size_t vertex_count() const { return b.vertices.size(); }
    xyz vertex(std::size_t v) const {
        return {b.vertices[v][0], b.vertices[v][1], b.vertices[v][2]};
    }
    std::size_t face_count() const { return b.faces.size(); }
    std::span<const int> corners(std::size_t f) const {
        return {b.faces[f].indices.data(), b.faces[f].indices.size()};
    }
    xyz normal(std::size_t f) const {
        return {b.faces[f].normal[0], b.faces[f].normal[1], b.faces[f].normal[2]};
    }
    int source(std::size_t f) const { return b.faces[f].source; }
    xyz displacement() const { return {b.displacement[0], b.displacement[1], b.displacement[2]}; }
};

// The mean of the block's vertices.
template <class Faces> xyz vertex_mean(const Faces& b) {
    xyz mean{0.0, 0.0, 0.0};
    const double n = static_cast<double>(b.vertex_count());
    for (std::size_t v = 0; v < b.vertex_count(); ++v)
        for (int k = 0; k < 3; ++k)
            mean[k] += b.vertex(v)[k] / n;
    return mean;
}
