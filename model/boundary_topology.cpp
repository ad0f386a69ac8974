#include "model/detail/boundary_topology.hpp"

#include <algorithm>
#include <cstdint>
#include <map>
#include <unordered_map>

namespace tolvex {

namespace {

std::string vertices_text(int a, int b) {
    return "from vertex " + std::to_string(a) + " to vertex " + std::to_string(b);
}

std::string missing_vertex(int v, int count) {
    return "vertex " + std::to_string(v) + ", which does not exist (there are " +
           std::to_string(count) + " vertices)";
}

// sorted holds the corners of c in ascending order.
std::optional<boundary_problem> corner_problem(const corner_list& c, corner_list sorted, int k,
                                               int vertex_count) {
    for (std::size_t i = 0; i < c.size(); ++i)
        if (c[i] < 0 || c[i] >= vertex_count)
            return boundary_problem{boundary_part::face, k,
                                    "corner " + std::to_string(i + 1) + " of this face is " +
                                        missing_vertex(c[i], vertex_count)};
    const auto repeat = std::adjacent_find(sorted.begin(), sorted.end());
    const int twice = repeat == sorted.end() ? -1 : *repeat;
    const auto distinct = std::unique(sorted.begin(), sorted.end()) - sorted.begin();
    if (distinct < 3)
        return boundary_problem{boundary_part::face, k,
                                "FACE= has " + std::to_string(distinct) + " distinct corner" +
                                    (distinct == 1 ? "" : "s") + "; a face needs at least 3"};
    if (twice >= 0)
        return boundary_problem{boundary_part::face, k,
                                "FACE= lists vertex " + std::to_string(twice) +
                                    " more than once; a face goes once around its corners"};
    return std::nullopt;
}

std::uint64_t side_key(int a, int b) {
    const auto [lo, hi] = std::minmax(a, b);
    return (static_cast<std::uint64_t>(lo) << 32) | static_cast<std::uint32_t>(hi);
}

// What stands on one pair of vertices: the EDGE= that joins them and the faces that have them as
// a side.
struct side_record {
    int edge = -1;
    index_list faces;
};

using side_map = std::unordered_map<std::uint64_t, side_record>;

side_map face_sides(const block& b) {
    side_map sides;
    for (std::size_t k = 0; k < b.faces.size(); ++k) {
        const corner_list& c = b.faces[k].indices;
        for (std::size_t i = 0; i < c.size(); ++i)
            sides[side_key(c[i], c[(i + 1) % c.size()])].faces.push_back(static_cast<int>(k));
    }
    return sides;
}

// Records every edge in sides; the first edge that is no side of a face once stops it.
std::optional<boundary_problem> edge_problem(const block& b, side_map& sides,
                                             const part_namer& name) {
    const int vertex_count = static_cast<int>(b.vertices.size());
    for (std::size_t i = 0; i < b.edges.size(); ++i) {
        const int k = static_cast<int>(i), a = b.edges[i][0], c = b.edges[i][1];
        for (const int v : {a, c})
            if (v < 0 || v >= vertex_count)
                return boundary_problem{boundary_part::edge, k,
                                        "EDGE= names " + missing_vertex(v, vertex_count)};
        if (a == c)
            return boundary_problem{boundary_part::edge, k,
                                    "EDGE= joins vertex " + std::to_string(a) + " to itself"};
        side_record& s = sides[side_key(a, c)];
        if (s.edge >= 0)
            return boundary_problem{boundary_part::edge, k,
                                    "EDGE= repeats " + name(boundary_part::edge, s.edge) + " (" +
                                        vertices_text(a, c) + "); give each edge once"};
        s.edge = k;
        if (s.faces.empty())
            return boundary_problem{boundary_part::edge, k,
                                    "the edge " + vertices_text(a, c) +
                                        " is a side of no face; correct or remove this EDGE= line"};
    }
    return std::nullopt;
}

std::optional<boundary_problem> side_problem(const block& b, const side_map& sides,
                                             const part_namer& name) {
    for (std::size_t i = 0; i < b.faces.size(); ++i) {
        const int k = static_cast<int>(i);
        const corner_list& c = b.faces[i].indices;
        for (std::size_t j = 0; j < c.size(); ++j) {
            const int a = c[j], d = c[(j + 1) % c.size()];
            const side_record& s = sides.at(side_key(a, d));
            const std::string side = "the side " + vertices_text(a, d) + " of this face";
            if (s.edge < 0)
                return boundary_problem{boundary_part::face, k, side + " has no EDGE= line"};
            if (s.faces.size() > 2 && k != s.faces[0] && k != s.faces[1])
                return boundary_problem{
                    boundary_part::face, k,
                    side + " is also a side of " + name(boundary_part::face, s.faces[0]) + " and " +
                        name(boundary_part::face, s.faces[1]) +
                        "; in a closed boundary every edge lies on exactly 2 faces (is a face "
                        "given twice?)"};
        }
    }
    for (std::size_t i = 0; i < b.edges.size(); ++i) {
        const side_record& s = sides.at(side_key(b.edges[i][0], b.edges[i][1]));
        if (s.faces.size() == 1)
            return boundary_problem{boundary_part::edge, static_cast<int>(i),
                                    "the edge " + vertices_text(b.edges[i][0], b.edges[i][1]) +
                                        " lies on 1 face; in a closed boundary every edge lies on "
                                        "exactly 2 (a face may be missing)"};
    }
    return std::nullopt;
}

std::optional<boundary_problem> vertex_problem(const block& b) {
    std::vector<bool> used(b.vertices.size(), false);
    for (const face& f : b.faces)
        for (const int c : f.indices)
            used[static_cast<std::size_t>(c)] = true;
    const auto unused = std::find(used.begin(), used.end(), false);
    if (unused != used.end())
        return boundary_problem{boundary_part::vertex, static_cast<int>(unused - used.begin()),
                                "vertex " + std::to_string(unused - used.begin()) +
                                    " is a corner of no face; remove it or add its faces"};
    // Every edge lies on two faces and every vertex on a face; what is left to go wrong is the
    // surface's shape as a whole.
    const auto v = static_cast<long long>(b.vertices.size());
    const auto e = static_cast<long long>(b.edges.size());
    const auto f = static_cast<long long>(b.faces.size());
    if (v - e + f != 2)
        return boundary_problem{boundary_part::face, 0,
                                "V - E + F = " + std::to_string(v) + " - " + std::to_string(e) +
                                    " + " + std::to_string(f) + " = " + std::to_string(v - e + f) +
                                    ", but one closed polyhedron has 2: the faces make more than "
                                    "one body, or a body with a hole"};
    return std::nullopt;
}

} // namespace

std::optional<boundary_problem> check_boundary_topology(const block& b, const part_namer& name) {
    const int vertex_count = static_cast<int>(b.vertices.size());
    std::map<corner_list, int> corner_sets;
    for (std::size_t i = 0; i < b.faces.size(); ++i) {
        const int k = static_cast<int>(i);
        corner_list sorted = b.faces[i].indices;
        std::sort(sorted.begin(), sorted.end());
        if (auto p = corner_problem(b.faces[i].indices, sorted, k, vertex_count))
            return p;
        const auto [first, fresh] = corner_sets.emplace(std::move(sorted), k);
        if (!fresh)
            return boundary_problem{boundary_part::face, k,
                                    "FACE= has the same corners as " +
                                        name(boundary_part::face, first->second) +
                                        "; give each face once"};
    }
    side_map sides = face_sides(b);
    if (auto p = edge_problem(b, sides, name))
        return p;
    if (auto p = side_problem(b, sides, name))
        return p;
    return vertex_problem(b);
}

} // namespace tolvex
