#include "geometry/block_set.hpp"

#include <cstring>

namespace {

template <class T>
std::span<const T> part(const flat_list<T>& list, const std::vector<std::size_t>& offset,
                        std::size_t b) {
    return std::span<const T>(list).subspan(offset[b], offset[b + 1] - offset[b]);
}

} // namespace

block_view view_of(const block_set& set, std::size_t b) {
    block_view view;
    view.vertices = part(set.vertices, set.vertex_offset, b);
    view.edges = part(set.edges, set.edge_offset, b);
    view.corners = part(set.corners, set.corner_offset, b);
    view.normals = {set.normals.data(), part(set.normal_index, set.face_offset, b)};
    view.face_sources = part(set.face_sources, set.face_offset, b);
    view.face_begin = std::span<const int>(set.face_begin)
                          .subspan(set.face_offset[b] + b, view.normals.size() + 1);
    view.fault_indices = part(set.fault_indices, set.fault_offset, b);
    view.tracer_indices = part(set.tracer_indices, set.tracer_offset, b);
    view.displacement = set.displacement[b];
    return view;
}

block to_block(const block_view& view) {
    block b;
    b.vertices.resize(view.vertices.size());
    for (std::size_t v = 0; v < view.vertices.size(); ++v)
        for (int k = 0; k < 3; ++k)
            b.vertices[v][k] = view.vertices[v][k];
    b.edges.assign(view.edges.begin(), view.edges.end());
    b.faces.resize(view.face_count());
    for (std::size_t f = 0; f < view.face_count(); ++f) {
        const std::span<const int> corners = view.face_corners(f);
        b.faces[f].indices.assign(corners.begin(), corners.end());
        for (int k = 0; k < 3; ++k)
            b.faces[f].normal[k] = view.normals[f][k];
        b.faces[f].source = view.face_sources[f];
    }
    b.fault_indices.assign(view.fault_indices.begin(), view.fault_indices.end());
    b.tracer_indices.assign(view.tracer_indices.begin(), view.tracer_indices.end());
    for (int k = 0; k < 3; ++k)
        b.displacement[k] = view.displacement[k];
    return b;
}

std::vector<block> to_blocks(const block_set& set) {
    std::vector<block> blocks;
    blocks.reserve(block_count(set));
    for (std::size_t b = 0; b < block_count(set); ++b)
        blocks.push_back(to_block(view_of(set, b)));
    return blocks;
}

block_set to_block_set(const std::vector<block>& blocks) {
    block_set set;
    for (const block& b : blocks) {
        for (const vec3& v : b.vertices)
            set.vertices.push_back({v[0], v[1], v[2]});
        set.edges.insert(set.edges.end(), b.edges.begin(), b.edges.end());
        set.face_begin.push_back(0);
        for (const face& x : b.faces) {
            set.corners.insert(set.corners.end(), x.indices.begin(), x.indices.end());
            set.face_begin.push_back(
                static_cast<int>(set.corners.size() - set.corner_offset.back()));
            set.normal_index.push_back(static_cast<int>(set.normals.size()));
            set.normals.push_back({x.normal[0], x.normal[1], x.normal[2]});
            set.face_sources.push_back(x.source);
        }
        set.fault_indices.insert(set.fault_indices.end(), b.fault_indices.begin(),
                                 b.fault_indices.end());
        set.tracer_indices.insert(set.tracer_indices.end(), b.tracer_indices.begin(),
                                  b.tracer_indices.end());
        end_block(set, {b.displacement[0], b.displacement[1], b.displacement[2]});
    }
    return set;
}

std::size_t normal_places::bits_hash::operator()(const std::array<std::uint64_t, 3>& bits) const {
    std::size_t h = 0;
    for (const std::uint64_t b : bits)
        h = (h ^ std::hash<std::uint64_t>{}(b)) * 0x9e3779b97f4a7c15ULL;
    return h;
}

void append_normals(block_set& set, const face_normals& normals, normal_places& places) {
    for (std::size_t f = 0; f < normals.size(); ++f) {
        const xyz& n = normals[f];
        const auto from = static_cast<std::size_t>(normals.index[f]);
        if (places.to.size() <= from)
            places.to.resize(from + 1, -1);
        int& to = places.to[from];
        // Bits, not values: -0.0 and 0.0 stay apart, and a NaN finds itself.
        std::array<std::uint64_t, 3> bits{};
        std::memcpy(bits.data(), n.data(), sizeof bits);
        if (to < 0 ||
            std::memcmp(&set.normals[static_cast<std::size_t>(to)], n.data(), sizeof bits) != 0) {
            const auto [at, added] =
                places.at.try_emplace(bits, static_cast<int>(set.normals.size()));
            if (added)
                set.normals.push_back(n);
            to = at->second;
        }
        set.normal_index.push_back(to);
    }
}

void end_block(block_set& set, const xyz& displacement) {
    set.displacement.push_back(displacement);
    set.vertex_offset.push_back(set.vertices.size());
    set.edge_offset.push_back(set.edges.size());
    set.corner_offset.push_back(set.corners.size());
    set.face_offset.push_back(set.normal_index.size());
    set.fault_offset.push_back(set.fault_indices.size());
    set.tracer_offset.push_back(set.tracer_indices.size());
}
