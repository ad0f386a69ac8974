#include "cut_tables.hpp"

#include "vector_utils.hpp"

#include <algorithm>
#include <array>
#include <cmath>

std::vector<intersection_point> intersection_pset;
std::vector<intersection_point> intersection_pset_sorted;
std::vector<int> unsort;
std::vector<int> cut_edge_to_intersection_point;

namespace {

// The edges of one block grouped by end point (both ends), so that the edge between two
// vertices is found by scanning one vertex's few neighbours. Capacity is kept between calls.
struct vertex_adjacency {
    std::vector<int> first;                     // per vertex: start of its run in neighbours
    std::vector<std::array<int, 2>> neighbours; // (other end point, edge index)
};

vertex_adjacency adjacency;

void build_adjacency(const block& b) {
    const std::size_t nv = b.vertices.size();
    adjacency.first.assign(nv + 1, 0);
    for (const edge& e : b.edges) {
        ++adjacency.first[e[0] + 1];
        ++adjacency.first[e[1] + 1];
    }
    for (std::size_t v = 0; v < nv; ++v)
        adjacency.first[v + 1] += adjacency.first[v];
    adjacency.neighbours.resize(2 * b.edges.size());
    std::vector<int>& next = adjacency.first; // filled run by run, then shifted back below
    for (std::size_t j = 0; j < b.edges.size(); ++j) {
        const edge& e = b.edges[j];
        adjacency.neighbours[next[e[0]]++] = {e[1], static_cast<int>(j)};
        adjacency.neighbours[next[e[1]]++] = {e[0], static_cast<int>(j)};
    }
    for (std::size_t v = nv; v > 0; --v)
        adjacency.first[v] = adjacency.first[v - 1];
    adjacency.first[0] = 0;
}

} // namespace

int edge_between(int x, int y) {
    for (int k = adjacency.first[x]; k < adjacency.first[x + 1]; ++k)
        if (adjacency.neighbours[k][0] == y)
            return adjacency.neighbours[k][1];
    return -1;
}

namespace {

double dot(const vec3& a, const vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void add_crossed_edge_points(const block& b, const std::vector<double>& distance,
                             const side_list& side) {
    cut_edge_to_intersection_point.assign(b.edges.size(), -1);
    for (std::size_t j = 0; j < b.edges.size(); ++j) {
        const int a = b.edges[j][0];
        const int c = b.edges[j][1];
        if (side[a] * side[c] >= 0)
            continue;
        const double da = std::abs(distance[a]);
        const double dc = std::abs(distance[c]);
        intersection_point ip;
        for (int k = 0; k < 3; ++k)
            ip.point[k] = (dc * b.vertices[a][k] + da * b.vertices[c][k]) / (da + dc);
        ip.edge = static_cast<int>(j);
        cut_edge_to_intersection_point[j] = static_cast<int>(intersection_pset.size());
        intersection_pset.push_back(ip);
    }
}

void add_on_plane_vertices(const block& b, const side_list& side) {
    for (std::size_t v = 0; v < b.vertices.size(); ++v) {
        if (side[v] != 0)
            continue;
        intersection_point ip;
        ip.point = b.vertices[v];
        ip.edge = on_plane_edge(static_cast<int>(v));
        intersection_pset.push_back(ip);
    }
}

// Angles counter-clockwise about n, measured from the direction of the first corner as seen
// from the corners' centroid.
void set_angles(const vec3& n) {
    vec3 c = make_vec3(0.0, 0.0, 0.0);
    for (const intersection_point& ip : intersection_pset)
        c += ip.point;
    c /= static_cast<double>(intersection_pset.size());
    for (intersection_point& ip : intersection_pset)
        ip.radial = ip.point - c;
    const vec3 u = normalize_vector(intersection_pset.front().radial);
    const vec3 v = normalize_vector(cross_prod3(n, u));
    for (intersection_point& ip : intersection_pset)
        ip.key = std::atan2(dot(ip.radial, v), dot(ip.radial, u));
}

// Position in intersection_pset of the corner that a sorted entry stands for: crossed edges
// through their map, on-plane vertices by search in the tail (ascending vertex order).
int position_of(int edge_value) {
    if (edge_value >= 0)
        return cut_edge_to_intersection_point[edge_value];
    const auto tail =
        std::partition_point(intersection_pset.begin(), intersection_pset.end(),
                             [](const intersection_point& ip) { return ip.edge >= 0; });
    const auto it =
        std::lower_bound(tail, intersection_pset.end(), edge_value,
                         [](const intersection_point& ip, int value) { return ip.edge > value; });
    return static_cast<int>(it - intersection_pset.begin());
}

} // namespace

bool fill_cut_tables(const block& b, const std::vector<double>& distance, const side_list& side,
                     const vec3& n) {
    intersection_pset.clear();
    add_crossed_edge_points(b, distance, side);
    add_on_plane_vertices(b, side);
    if (intersection_pset.size() < 3)
        return false;
    set_angles(n);
    intersection_pset_sorted.assign(intersection_pset.begin(), intersection_pset.end());
    std::sort(intersection_pset_sorted.begin(), intersection_pset_sorted.end(),
              sortobj_ascending());
    unsort.resize(intersection_pset_sorted.size());
    for (std::size_t k = 0; k < intersection_pset_sorted.size(); ++k)
        unsort[k] = position_of(intersection_pset_sorted[k].edge);
    build_adjacency(b); // both halves look up face sides in it
    return true;
}
