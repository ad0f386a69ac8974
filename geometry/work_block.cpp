#include "geometry/detail/work_block.hpp"

#include "geometry/vector_utils.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <tuple>

void work_block_parts::clear() {
    vertices.clear();
    edges.clear();
    face_begin.assign(1, 0);
    clockwise.clear();
    sources.clear();
    corners.clear();
    side_edges.clear();
    sides_are_edges = true;
}

void work_block_parts::end_face(bool runs_clockwise, int source) {
    face_begin.push_back(static_cast<int>(corners.size()));
    clockwise.push_back(runs_clockwise);
    sources.push_back(source);
}

std::size_t packed_bytes(const block_counts& counts) {
    const std::size_t locals = 2 * counts.edges + 2 * counts.faces + 1 + 2 * counts.corners;
    return counts.vertices * sizeof(xyz) + counts.faces * sizeof(int) +
           locals * sizeof(local_index);
}

std::size_t shape_bytes(const work_block& w) {
    return packed_bytes({w.vertex_count, w.edge_count, w.face_count, w.face_begin(w.face_count)});
}

work_block lay_out(const block_counts& counts, std::byte* storage) {
    if (counts.vertices >= max_locals || counts.edges >= max_locals || counts.corners >= max_locals)
        throw std::length_error("a block has " + std::to_string(counts.vertices) + " vertices, " +
                                std::to_string(counts.edges) + " edges and " +
                                std::to_string(counts.corners) +
                                " face corners; a block may have at most " +
                                std::to_string(max_locals - 1) + " of each");
    work_block w;
    w.vertex_count = counts.vertices;
    w.edge_count = counts.edges;
    w.face_count = counts.faces;
    w.face_offset = 2 * counts.edges;
    w.corner_offset = w.face_offset + 2 * counts.faces + 1;
    w.side_offset = w.corner_offset + counts.corners;
    w.points = reinterpret_cast<xyz*>(storage);
    w.sources = reinterpret_cast<int*>(storage + counts.vertices * sizeof(xyz));
    w.locals = reinterpret_cast<local_index*>(w.sources + counts.faces);
    return w;
}

work_block moved_to(const work_block& w, std::byte* storage) {
    const auto* const from = reinterpret_cast<const std::byte*>(w.points);
    work_block moved = w;
    moved.points = reinterpret_cast<xyz*>(storage);
    moved.sources =
        reinterpret_cast<int*>(storage + (reinterpret_cast<const std::byte*>(w.sources) - from));
    moved.locals = reinterpret_cast<local_index*>(
        storage + (reinterpret_cast<const std::byte*>(w.locals) - from));
    return moved;
}

block_counts work_block_parts::counts() const {
    return {static_cast<int>(vertices.size()), static_cast<int>(edges.size()),
            static_cast<int>(sources.size()), static_cast<int>(corners.size())};
}

work_block work_block_parts::pack_into(shape_arena& arena) const {
    return pack_at(allocate(arena, bytes()));
}

work_block work_block_parts::pack_at(std::byte* storage) const {
    work_block w = lay_out(counts(), storage);
    w.sides_are_edges = sides_are_edges;
    std::copy(vertices.begin(), vertices.end(), w.points);
    std::copy(sources.begin(), sources.end(), w.sources);
    local_index* out = w.locals;
    for (const edge& e : edges) {
        *out++ = static_cast<local_index>(e[0]);
        *out++ = static_cast<local_index>(e[1]);
    }
    // Every value is below max_locals.
    auto narrow = [](int i) { return static_cast<local_index>(i); };
    out = std::transform(face_begin.begin(), face_begin.end(), out, narrow);
    out = std::transform(clockwise.begin(), clockwise.end(), out, narrow);
    std::copy(side_edges.begin(), side_edges.end(), std::copy(corners.begin(), corners.end(), out));
    return w;
}

namespace {

xyz to_xyz(const vec3& v) {
    return {v[0], v[1], v[2]};
}

// Edges keyed by their end points, smaller first; among repeated edges the first one counts.
using keyed_edge = std::tuple<int, int, int>;

std::vector<keyed_edge> edge_keys(const block& b) {
    std::vector<keyed_edge> keys;
    keys.reserve(b.edges.size());
    for (std::size_t j = 0; j < b.edges.size(); ++j) {
        const auto [lo, hi] = std::minmax(b.edges[j][0], b.edges[j][1]);
        keys.emplace_back(lo, hi, static_cast<int>(j));
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

int find_edge(const std::vector<keyed_edge>& keys, int x, int y) {
    const auto [lo, hi] = std::minmax(x, y);
    const auto it = std::lower_bound(keys.begin(), keys.end(), keyed_edge{lo, hi, -1});
    return it != keys.end() && std::get<0>(*it) == lo && std::get<1>(*it) == hi ? std::get<2>(*it)
                                                                                : -1;
}

// Whether the corners of a face of b run clockwise seen from outside b: their Newell normal
// points away from the direction from the block's vertex mean, centre, to their own mean.
bool runs_clockwise(const block& b, const vec3& centre, const corner_list& corners) {
    const std::size_t n = corners.size();
    if (n < 3)
        return false;
    const vec3& origin = b.vertices[corners[0]];
    vec3 normal = make_vec3(0.0, 0.0, 0.0);
    vec3 face_mean = make_vec3(0.0, 0.0, 0.0);
    for (std::size_t k = 0; k < n; ++k) {
        const vec3 p = b.vertices[corners[k]] - origin;
        const vec3 q = b.vertices[corners[(k + 1) % n]] - origin;
        normal += cross_prod3(p, q);
        face_mean += p;
    }
    const vec3 outward = face_mean / static_cast<double>(n) - (centre - origin);
    return boost::numeric::ublas::inner_prod(normal, outward) < 0;
}

} // namespace

work_block to_work_block(const block& b, work_block_parts& parts, shape_arena& arena,
                         flat_list<xyz>& normals) {
    parts.clear();
    for (const vec3& v : b.vertices)
        parts.vertices.push_back(to_xyz(v));
    parts.edges.assign(b.edges.begin(), b.edges.end());
    const std::vector<keyed_edge> keys = edge_keys(b);
    const vec3 centre = b.vertices.empty() ? make_vec3(0.0, 0.0, 0.0) : centroid(b.vertices);
    for (std::size_t face_index = 0; face_index < b.faces.size(); ++face_index) {
        const face& f = b.faces[face_index];
        const std::size_t n = f.indices.size();
        for (std::size_t k = 0; k < n; ++k) {
            const int e = find_edge(keys, f.indices[k], f.indices[(k + 1) % n]);
            parts.sides_are_edges = parts.sides_are_edges && e >= 0;
            parts.corners.push_back(static_cast<local_index>(f.indices[k]));
            parts.side_edges.push_back(static_cast<local_index>(e));
        }
        parts.end_face(runs_clockwise(b, centre, f.indices), static_cast<int>(face_index));
        normals.push_back(to_xyz(f.normal));
    }
    return parts.pack_into(arena);
}
