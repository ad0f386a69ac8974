#include "geometry/detail/cut_walk.hpp"

#include "geometry/detail/cut_tables.hpp"
#include "geometry/detail/half_writer.hpp"
#include "geometry/detail/plane_side.hpp"

#include <utility>

namespace {

// The cut points, one per edge whose ends lie on opposite sides, in edge order, and for each edge
// its cut point's position or -1. Returns their number.
int add_cut_points(cut_workspace& ws, const work_block& b) {
    const signed char* side = ws.vertex_side.data();
    const double* distance = ws.vertex_distance.data();
    ws.cut_edge_to_intersection_point.resize(b.edge_count);
    ws.cut_points.resize(b.edge_count);
    int* cut_of_edge = ws.cut_edge_to_intersection_point.data();
    xyz* points = ws.cut_points.data();
    int m = 0;
    for (int j = 0; j < b.edge_count; ++j) {
        const int a = b.edge_end(j, 0);
        const int c = b.edge_end(j, 1);
        if (side[a] == side[c]) {
            cut_of_edge[j] = -1;
            continue;
        }
        cut_of_edge[j] = m;
        points[m++] = edge_cut_point(b.vertex(a), b.vertex(c), distance[a], distance[c]);
    }
    return m;
}

// Marks each face's sides and chains the cut face: every face that the plane crosses leaves the
// positive side at one cut point and comes back at another, and the cut face runs between them
// the other way round. Fills polygon_corners in that order from the first cut point, and returns
// whether the chain is one polygon through all m cut points.
bool chain_cut_face(cut_workspace& ws, const work_block& b, int m) {
    const signed char* side = ws.vertex_side.data();
    const int* cut_of_edge = ws.cut_edge_to_intersection_point.data();
    ws.face_sides.resize(b.face_count);
    ws.polygon_next.assign(m, -1);
    int* next = ws.polygon_next.data();
    int links = 0;
    for (int f = 0; f < b.face_count; ++f) {
        const int begin = b.face_begin(f);
        const int end = b.face_begin(f + 1);
        unsigned char sides = 0;
        for (int i = begin; i < end; ++i)
            sides |= side[b.corner(i)] > 0 ? has_positive : has_negative;
        ws.face_sides[f] = sides;
        if (sides != (has_positive | has_negative))
            continue;
        for (int i = begin; i < end; ++i) {
            const int before = b.previous_corner(f, i);
            if (side[b.corner(i)] > 0 || side[b.corner(before)] < 0)
                continue;
            int last = i;
            while (side[b.corner(b.next_corner(f, last))] < 0)
                last = b.next_corner(f, last);
            int from = cut_of_edge[b.side_edge(before)];
            int to = cut_of_edge[b.side_edge(last)];
            if (b.clockwise(f))
                std::swap(from, to);
            if (from < 0 || to < 0 || next[from] >= 0)
                return false;
            next[from] = to;
            ++links;
        }
    }
    if (links != m)
        return false;
    ws.polygon_corners.clear();
    int c = 0;
    do {
        ws.polygon_corners.push_back(c);
        c = next[c];
    } while (c != 0 && static_cast<int>(ws.polygon_corners.size()) <= m);
    return static_cast<int>(ws.polygon_corners.size()) == m;
}

// Both halves, written side by side: each vertex, edge and face goes to the half it lies in, and
// an edge or face the plane crosses to both, cut short at the cut points. Every table is read
// and every half written through a local pointer, and the counts are locals: the compiler must
// assume that any write through an int pointer may change an int it reads from memory.
void write_halves(cut_workspace& ws, const work_block& b, int m, int cut_source) {
    half_writer negative(ws.negative_parts, b, m);
    half_writer positive(ws.parts, b, m);
    half_writer* const half[2] = {&negative, &positive};
    const signed char* const side = ws.vertex_side.data();
    const int* const cut_of_edge = ws.cut_edge_to_intersection_point.data();
    const int* const unsort = ws.unsort.data();
    const int* const polygon_position = ws.polygon_position.data();
    const local_index* const ends = b.locals;
    const local_index* const face_start = b.locals + b.face_offset;
    const local_index* const winding = face_start + b.face_count + 1;
    const local_index* const corner = b.locals + b.corner_offset;
    const local_index* const side_edge = b.locals + b.side_offset;
    const int vertex_count = b.vertex_count;
    const int edge_count = b.edge_count;
    const int face_count = b.face_count;
    ws.vertex_map.resize(vertex_count);
    ws.edge_map.resize(2 * edge_count);
    int* const index = ws.vertex_map.data(); // per vertex: its index in its half
    int* const edge_in = ws.edge_map.data(); // per edge and half (negative, positive): its index
    auto of = [side](int v) { return side[v] > 0 ? 1 : 0; };

    // The given vertices of each half, then the cut points.
    int kept[2] = {0, 0};
    xyz* const vertices[2] = {negative.vertices, positive.vertices};
    for (int v = 0; v < vertex_count; ++v) {
        const int h = of(v);
        index[v] = kept[h];
        vertices[h][kept[h]++] = b.points[v];
    }
    for (int h = 0; h < 2; ++h) {
        std::copy(ws.cut_points.data(), ws.cut_points.data() + m, vertices[h] + kept[h]);
        half[h]->vertex_count = kept[h] + m;
    }

    // Edges in order, a crossed one from its end in the half to the cut point; then the sides of
    // the cut face.
    edge* const edges[2] = {negative.edges, positive.edges};
    int edge_total[2] = {0, 0};
    for (int j = 0; j < edge_count; ++j) {
        const int a = ends[2 * j];
        const int c = ends[2 * j + 1];
        const int ha = of(a);
        if (ha == of(c)) {
            edges[ha][edge_total[ha]] = {index[a], index[c]};
            edge_in[2 * j + ha] = edge_total[ha]++;
            continue;
        }
        const int p = cut_of_edge[j];
        const int hc = 1 - ha;
        edges[ha][edge_total[ha]] = {index[a], kept[ha] + p};
        edge_in[2 * j + ha] = edge_total[ha]++;
        edges[hc][edge_total[hc]] = {index[c], kept[hc] + p};
        edge_in[2 * j + hc] = edge_total[hc]++;
    }
    const int polygon_edges[2] = {edge_total[0], edge_total[1]};
    for (int h = 0; h < 2; ++h) {
        for (int k = 0; k < m; ++k)
            edges[h][polygon_edges[h] + k] = {kept[h] + unsort[k],
                                              kept[h] + unsort[k + 1 == m ? 0 : k + 1]};
        half[h]->edge_count = polygon_edges[h] + m;
    }

    // The cut face side that clipped face f of half h follows from cut point p on. Faces of the
    // negative half that run counter-clockwise seen from outside run along it the other way.
    auto polygon_edge_from = [&](int h, int f, int p) {
        const int k = polygon_position[p];
        return polygon_edges[h] + ((h == 0) != (winding[f] != 0) ? (k + m - 1) % m : k);
    };
    local_index* const corners[2] = {negative.corners, positive.corners};
    local_index* const sides[2] = {negative.side_edges, positive.side_edges};
    int count[2] = {0, 0};
    auto add_corner = [&](int h, int v, int e) {
        corners[h][count[h]] = static_cast<local_index>(v);
        sides[h][count[h]++] = static_cast<local_index>(e);
    };
    for (int f = 0; f < face_count; ++f) {
        const int begin = face_start[f];
        const int end = face_start[f + 1];
        const unsigned char face_sides = ws.face_sides[f];
        const bool crossed = face_sides == (has_positive | has_negative);
        if (!crossed) {
            const int h = face_sides == has_positive ? 1 : 0;
            for (int i = begin; i < end; ++i)
                add_corner(h, index[corner[i]], edge_in[2 * side_edge[i] + h]);
        } else {
            // Each corner stays in its own half; in the other, where the face's boundary leaves
            // that half the cut point follows its last corner, and where it comes back the cut
            // point precedes the next one.
            int previous = end - 1;
            for (int i = begin; i < end; previous = i++) {
                const int h = of(corner[i]);
                const int o = 1 - h;
                const int e = side_edge[i];
                const int next = i + 1 == end ? begin : i + 1;
                add_corner(h, index[corner[i]], edge_in[2 * e + h]);
                if (of(corner[previous]) == o) {
                    const int p = cut_of_edge[side_edge[previous]];
                    add_corner(o, kept[o] + p, polygon_edge_from(o, f, p));
                }
                if (of(corner[next]) == o)
                    add_corner(o, kept[o] + cut_of_edge[e], edge_in[2 * e + o]);
            }
        }
        for (int h = 0; h < 2; ++h) {
            if (!crossed && h != (face_sides == has_positive ? 1 : 0))
                continue;
            half[h]->corner_count = count[h];
            half[h]->end_face(b.clockwise(f), b.source(f));
            count[h] = half[h]->corner_count;
        }
    }
    for (int h = 0; h < 2; ++h) {
        for (int k = 0; k < m; ++k)
            add_corner(h, kept[h] + unsort[k], polygon_edges[h] + k);
        half[h]->corner_count = count[h];
        half[h]->end_face(h > 0, cut_source);
        half[h]->finish();
    }
}

} // namespace

bool cut_in_one_walk(cut_workspace& ws, const work_block& b, const vec3& n, int cut_source) {
    const int m = add_cut_points(ws, b);
    if (m < 3 || !chain_cut_face(ws, b, m))
        return false;
    const xyz* points = ws.cut_points.data();
    const int start = angle_order_start(
        m, [&](int p) -> const xyz& { return points[p]; }, [](int) { return true; },
        ws.polygon_corners, n);
    ws.unsort.resize(m);
    ws.polygon_position.resize(m);
    for (int k = 0; k < m; ++k) {
        const int p = ws.polygon_corners[(start + k) % m];
        ws.unsort[k] = p;
        ws.polygon_position[p] = k;
    }
    write_halves(ws, b, m, cut_source);
    return true;
}
