#include "geometry/detail/cut_walk.hpp"

#include "geometry/detail/cut_tables.hpp"
#include "geometry/detail/plane_side.hpp"

#include <algorithm>
#include <utility>

namespace {

// The cut points, one per edge whose ends lie on opposite sides, in edge order, and for each edge
// its cut point's position or -1; each half's edges: those of its side kept whole, the crossed
// ones cut short and the cut face's sides. Returns the number of cut points.
int add_cut_points(cut_workspace& ws, const work_block& b) {
    const signed char* side = ws.vertex_side.data();
    const double* distance = ws.vertex_distance.data();
    ws.cut_edge_to_intersection_point.resize(b.edge_count);
    ws.cut_points.resize(b.edge_count);
    int* cut_of_edge = ws.cut_edge_to_intersection_point.data();
    xyz* points = ws.cut_points.data();
    // Read through locals: a write through an int pointer may change any int in memory.
    const local_index* const ends = b.locals;
    const xyz* const vertex = b.points;
    const int edge_count = b.edge_count;
    int m = 0;
    int whole[2] = {0, 0};
    for (int j = 0; j < edge_count; ++j) {
        const int a = ends[2 * j];
        const int c = ends[2 * j + 1];
        if (side[a] == side[c]) {
            cut_of_edge[j] = -1;
            ++whole[side[a] > 0];
            continue;
        }
        cut_of_edge[j] = m;
        points[m++] = edge_cut_point(vertex[a], vertex[c], distance[a], distance[c]);
    }
    for (int h = 0; h < 2; ++h)
        ws.walk_counts[h].edges = whole[h] + 2 * m;
    return m;
}

// Marks each face's sides and chains the cut face: every face that the plane crosses leaves the
// positive side at one cut point and comes back at another, and the cut face runs between them
// the other way round. Fills polygon_corners in that order from the first cut point, and returns
// whether the chain is one polygon through all m cut points. Counts each half's faces and corners:
// a face keeps its corners on the half's side, a crossed face gains a cut point in both halves per
// side it crosses (two per link of the chain), and the cut face has m corners.
bool chain_cut_face(cut_workspace& ws, const work_block& b, int m) {
    const signed char* side = ws.vertex_side.data();
    const int* cut_of_edge = ws.cut_edge_to_intersection_point.data();
    ws.face_sides.resize(b.face_count);
    ws.polygon_next.assign(m, -1);
    int* next = ws.polygon_next.data();
    unsigned char* const face_sides = ws.face_sides.data();
    // Read through locals, as in add_cut_points. Every side of a face is an edge (see split).
    const local_index* const face_start = b.locals + b.face_offset;
    const local_index* const winding = face_start + b.face_count + 1;
    const local_index* const corner = b.locals + b.corner_offset;
    const local_index* const side_edge = b.locals + b.side_offset;
    const int face_count = b.face_count;
    int links = 0;
    int faces[2] = {0, 0};
    int positive_corners = 0;
    for (int f = 0; f < face_count; ++f) {
        const int begin = face_start[f];
        const int end = face_start[f + 1];
        // A face of fewer than three corners is dropped from a half, which only the cut tables do.
        if (end - begin < 3)
            return false;
        unsigned char sides = 0;
        for (int i = begin; i < end; ++i) {
            const bool positive = side[corner[i]] > 0;
            sides |= positive ? has_positive : has_negative;
            positive_corners += positive;
        }
        face_sides[f] = sides;
        faces[0] += (sides & has_negative) != 0;
        faces[1] += (sides & has_positive) != 0;
        if (sides != (has_positive | has_negative))
            continue;
        auto after = [begin, end](int i) { return i + 1 == end ? begin : i + 1; };
        for (int i = begin; i < end; ++i) {
            const int before = i == begin ? end - 1 : i - 1;
            if (side[corner[i]] > 0 || side[corner[before]] < 0)
                continue;
            int last = i;
            while (side[corner[after(last)]] < 0)
                last = after(last);
            int from = cut_of_edge[side_edge[before]];
            int to = cut_of_edge[side_edge[last]];
            if (winding[f] != 0)
                std::swap(from, to);
            if (from < 0 || to < 0 || next[from] >= 0)
                return false;
            next[from] = to;
            ++links;
        }
    }
    if (links != m)
        return false;
    const int own_corners[2] = {face_start[face_count] - positive_corners, positive_corners};
    for (int h = 0; h < 2; ++h) {
        ws.walk_counts[h].faces = faces[h] + 1;
        ws.walk_counts[h].corners = own_corners[h] + 3 * m;
    }
    ws.polygon_corners.resize(m);
    int* const chained = ws.polygon_corners.data();
    int c = 0;
    for (int k = 0; k < m; ++k) {
        chained[k] = c;
        c = next[c];
        if (c == 0)
            return k + 1 == m;
    }
    return false;
}

} // namespace

// Both halves, written side by side where they are laid out: each vertex, edge and face goes to
// the half it lies in, and an edge or face the plane crosses to both, cut short at the cut points.
// Every table is read and every half written through a local pointer, and the counts are locals:
// the compiler must assume that any write through an int pointer may change an int it reads.
std::array<block_bounds, 2> write_one_walk(cut_workspace& ws, const work_block& b, int cut_source,
                                           work_block* half) {
    const int m = static_cast<int>(ws.unsort.size());
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
    // per half (negative, positive) and edge: its index in the half
    int* const edge_in[2] = {ws.edge_map.data(), ws.edge_map.data() + edge_count};
    const unsigned char* const half_of = ws.vertex_half.data();
    auto of = [half_of](int v) { return static_cast<int>(half_of[v]); };

    // The given vertices of each half, then the cut points, and the boxes around them: the cut
    // points' box is found once for both.
    int kept[2] = {0, 0};
    xyz* const vertices[2] = {half[0].points, half[1].points};
    const xyz* const cut_points = ws.cut_points.data();
    for (int v = 0; v < vertex_count; ++v) {
        const int h = of(v);
        index[v] = kept[h];
        vertices[h][kept[h]++] = b.points[v];
    }
    box_extent cut_extent(cut_points[0]);
    for (int p = 1; p < m; ++p)
        cut_extent.add(cut_points[p]);
    box_extent extent[2] = {cut_extent, cut_extent};
    for (int h = 0; h < 2; ++h) {
        for (int v = 0; v < kept[h]; ++v)
            extent[h].add(vertices[h][v]);
        std::copy(cut_points, cut_points + m, vertices[h] + kept[h]);
    }

    // Edges in order, a crossed one from its end in the half to the cut point; then the sides of
    // the cut face.
    local_index* const edges[2] = {half[0].locals, half[1].locals};
    int edge_total[2] = {0, 0};
    auto add_edge = [&](int h, int x, int y) {
        local_index* const e = edges[h] + 2 * edge_total[h];
        e[0] = static_cast<local_index>(x);
        e[1] = static_cast<local_index>(y);
        return edge_total[h]++;
    };
    for (int j = 0; j < edge_count; ++j) {
        const int a = ends[2 * j];
        const int c = ends[2 * j + 1];
        const int ha = of(a);
        const int hc = of(c);
        if (ha == hc) {
            edge_in[ha][j] = add_edge(ha, index[a], index[c]);
            continue;
        }
        const int p = cut_of_edge[j];
        edge_in[ha][j] = add_edge(ha, index[a], kept[ha] + p);
        edge_in[hc][j] = add_edge(hc, index[c], kept[hc] + p);
    }
    const int polygon_edges[2] = {edge_total[0], edge_total[1]};
    for (int h = 0; h < 2; ++h)
        for (int k = 0; k < m; ++k)
            add_edge(h, kept[h] + unsort[k], kept[h] + unsort[k + 1 == m ? 0 : k + 1]);

    local_index* const begins[2] = {half[0].locals + half[0].face_offset,
                                    half[1].locals + half[1].face_offset};
    local_index* const windings[2] = {begins[0] + half[0].face_count + 1,
                                      begins[1] + half[1].face_count + 1};
    int* const sources[2] = {half[0].sources, half[1].sources};
    local_index* const corners[2] = {half[0].locals + half[0].corner_offset,
                                     half[1].locals + half[1].corner_offset};
    // Per half: where its next corner goes; the side edge after it lies side_shift further on.
    local_index* at[2] = {corners[0], corners[1]};
    const int side_shift[2] = {half[0].side_offset - half[0].corner_offset,
                               half[1].side_offset - half[1].corner_offset};
    int faces[2] = {0, 0};
    auto add_corner = [&](int h, int v, int e) {
        local_index* const c = at[h]++;
        c[0] = static_cast<local_index>(v);
        c[side_shift[h]] = static_cast<local_index>(e);
    };
    auto end_face = [&](int h, bool runs_clockwise, int source) {
        sources[h][faces[h]] = source;
        windings[h][faces[h]++] = runs_clockwise;
        begins[h][faces[h]] = static_cast<local_index>(at[h] - corners[h]);
    };
    begins[0][0] = 0;
    begins[1][0] = 0;
    for (int f = 0; f < face_count; ++f) {
        const int begin = face_start[f];
        const int end = face_start[f + 1];
        const bool runs_clockwise = winding[f] != 0;
        const unsigned char face_sides = ws.face_sides[f];
        if (face_sides != (has_positive | has_negative)) {
            const int h = face_sides == has_positive ? 1 : 0;
            local_index* const to_corner = at[h];
            local_index* const to_side = to_corner + side_shift[h];
            const int* const edge_of = edge_in[h];
            for (int i = begin; i < end; ++i) {
                to_corner[i - begin] = static_cast<local_index>(index[corner[i]]);
                to_side[i - begin] = static_cast<local_index>(edge_of[side_edge[i]]);
            }
            at[h] += end - begin;
            end_face(h, runs_clockwise, b.source(f));
            continue;
        }
        // Each corner stays in its own half; in the other, where the face's boundary leaves that
        // half the cut point follows its last corner, and where it comes back the cut point
        // precedes the next one. From the point where it comes back, the cut face side runs to
        // the next corner of the cut face, or in a negative half's face that runs
        // counter-clockwise seen from outside, to the one before it.
        int h = of(corner[begin]);
        int h_before = of(corner[end - 1]);
        int edge_before = side_edge[end - 1];
        for (int i = begin; i < end; ++i) {
            const int o = 1 - h;
            const int e = side_edge[i];
            const int h_next = of(corner[i + 1 == end ? begin : i + 1]);
            add_corner(h, index[corner[i]], edge_in[h][e]);
            if (h_before == o) {
                const int p = cut_of_edge[edge_before];
                const int k = polygon_position[p];
                const bool back = (o == 0) != runs_clockwise;
                add_corner(o, kept[o] + p, polygon_edges[o] + (back ? (k == 0 ? m : k) - 1 : k));
            }
            if (h_next == o)
                add_corner(o, kept[o] + cut_of_edge[e], edge_in[o][e]);
            h_before = h;
            h = h_next;
            edge_before = e;
        }
        end_face(0, runs_clockwise, b.source(f));
        end_face(1, runs_clockwise, b.source(f));
    }
    for (int h = 0; h < 2; ++h) {
        for (int k = 0; k < m; ++k)
            add_corner(h, kept[h] + unsort[k], polygon_edges[h] + k);
        end_face(h, h > 0, cut_source);
    }
    return {extent[0].bounds(), extent[1].bounds()};
}

bool plan_one_walk(cut_workspace& ws, const work_block& b, const vec3& n) {
    const int m = add_cut_points(ws, b);
    if (m < 3 || !chain_cut_face(ws, b, m))
        return false;
    ws.vertex_half.resize(b.vertex_count);
    const signed char* const side = ws.vertex_side.data();
    unsigned char* const half = ws.vertex_half.data();
    int positive = 0;
    for (int v = 0; v < b.vertex_count; ++v) {
        half[v] = side[v] > 0;
        positive += half[v];
    }
    ws.walk_counts[0].vertices = b.vertex_count - positive + m;
    ws.walk_counts[1].vertices = positive + m;
    const xyz* points = ws.cut_points.data();
    const int start = angle_order_start(
        m, [&](int p) -> const xyz& { return points[p]; }, [](int) { return true; },
        ws.polygon_corners, n);
    ws.unsort.resize(m);
    ws.polygon_position.resize(m);
    const int* const chained = ws.polygon_corners.data();
    int* const unsort = ws.unsort.data();
    int* const position = ws.polygon_position.data();
    for (int k = 0, q = start; k < m; ++k, q = q + 1 == m ? 0 : q + 1) {
        unsort[k] = chained[q];
        position[chained[q]] = k;
    }
    return true;
}
