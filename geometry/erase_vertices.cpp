#include "erase_vertices.hpp"

#include "cut_tables.hpp"

#include <stdexcept>

namespace {

// The new indices of the input block's vertices (-1 when erased) and of the cut-face corners
// (by position in intersection_pset); capacity is kept between calls.
std::vector<int> vertex_map;
std::vector<int> corner_map;

// The half under construction.
struct half_builder {
    const block& b;
    const vertex_mask& erased;
    block half;

    bool is_erased(int v) const { return erased[v] != 0; }

    // New index of the cut point on the face side (x, y), or -1 when the side has none because
    // its retained end lies on the plane and is a corner in its own right.
    int cut_point(int x, int y) const {
        const int j = edge_between(x, y);
        if (j < 0)
            throw std::invalid_argument("a face side is not an edge of the block");
        const int p = cut_edge_to_intersection_point[j];
        return p < 0 ? -1 : corner_map[p];
    }

    void add_vertices() {
        vertex_map.assign(b.vertices.size(), -1);
        for (std::size_t v = 0; v < b.vertices.size(); ++v) {
            if (is_erased(static_cast<int>(v)))
                continue;
            vertex_map[v] = static_cast<int>(half.vertices.size());
            half.vertices.push_back(b.vertices[v]);
        }
        corner_map.resize(intersection_pset.size());
        for (std::size_t p = 0; p < intersection_pset.size(); ++p) {
            const intersection_point& ip = intersection_pset[p];
            if (ip.edge < 0) {
                corner_map[p] = vertex_map[on_plane_vertex(ip.edge)];
                continue;
            }
            corner_map[p] = static_cast<int>(half.vertices.size());
            half.vertices.push_back(ip.point);
        }
    }

    void add_edges() {
        for (std::size_t j = 0; j < b.edges.size(); ++j) {
            const int a = b.edges[j][0];
            const int c = b.edges[j][1];
            if (!is_erased(a) && !is_erased(c))
                half.edges.push_back({vertex_map[a], vertex_map[c]});
            else if (is_erased(a) != is_erased(c) && cut_edge_to_intersection_point[j] >= 0)
                half.edges.push_back({vertex_map[is_erased(a) ? c : a],
                                      corner_map[cut_edge_to_intersection_point[j]]});
        }
        // The cut polygon's sides; a side joining two on-plane vertices that already share an
        // edge is that edge.
        const std::size_t m = intersection_pset_sorted.size();
        for (std::size_t k = 0; k < m; ++k) {
            const intersection_point& from = intersection_pset_sorted[k];
            const intersection_point& to = intersection_pset_sorted[(k + 1) % m];
            if (from.edge < 0 && to.edge < 0 &&
                edge_between(on_plane_vertex(from.edge), on_plane_vertex(to.edge)) >= 0)
                continue;
            half.edges.push_back({corner_map[unsort[k]], corner_map[unsort[(k + 1) % m]]});
        }
    }

    void add_clipped_face(const face& f) {
        face clipped;
        clipped.normal = f.normal;
        clipped.indices.reserve(f.indices.size() + 1); // clipping adds at most one corner
        const std::size_t n = f.indices.size();
        auto append = [&clipped](int index) {
            if (index >= 0)
                clipped.indices.push_back(index);
        };
        for (std::size_t k = 0; k < n; ++k) {
            const int prev = f.indices[(k + n - 1) % n];
            const int cur = f.indices[k];
            const int next = f.indices[(k + 1) % n];
            if (!is_erased(cur)) {
                append(vertex_map[cur]);
                continue;
            }
            if (!is_erased(prev))
                append(cut_point(prev, cur));
            if (!is_erased(next))
                append(cut_point(cur, next));
        }
        if (clipped.indices.size() > 2)
            half.faces.push_back(std::move(clipped));
    }

    void add_faces(const vec3& fn) {
        for (const face& f : b.faces)
            add_clipped_face(f);
        face cut;
        cut.normal = fn;
        cut.indices.reserve(intersection_pset_sorted.size());
        for (std::size_t k = 0; k < intersection_pset_sorted.size(); ++k)
            cut.indices.push_back(corner_map[unsort[k]]);
        half.faces.push_back(std::move(cut));
    }
};

} // namespace

block erase_vertices(const block& b, const vertex_mask& erased_vertices, const vec3& fn) {
    half_builder builder{b, erased_vertices, {}};
    builder.half.vertices.reserve(b.vertices.size() + intersection_pset.size());
    builder.half.edges.reserve(b.edges.size() + intersection_pset.size());
    builder.half.faces.reserve(b.faces.size() + 1);
    builder.add_vertices();
    builder.add_edges();
    builder.add_faces(fn);
    return std::move(builder.half);
}
