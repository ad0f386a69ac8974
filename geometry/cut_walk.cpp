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
// an edge or face the plane crosses to both, cut short at the cut points.
struct halves_writer {
    cut_workspace& ws;
    const work_block& b;
    int m;
    half_writer negative;
    half_writer positive;
    const signed char* side = ws.vertex_side.data();
    const int* cut_of_edge = ws.cut_edge_to_intersection_point.data();
    const int* unsort = ws.unsort.data();
    const int* polygon_position = ws.polygon_position.data();
    int* index = nullptr;          // per vertex: its index in its half
    int* edge_in = nullptr;        // per edge and half (negative, positive): its index there
    int kept[2] = {0, 0};          // the given vertices of each half, which the cut points follow
    int polygon_edges[2] = {0, 0}; // where each half's cut face sides begin among its edges

    halves_writer(cut_workspace& workspace, const work_block& block, int cut_count)
        : ws(workspace), b(block), m(cut_count), negative(ws.negative_parts, b, m),
          positive(ws.parts, b, m) {
        ws.vertex_map.resize(b.vertex_count);
        ws.edge_map.resize(2 * b.edge_count);
        index = ws.vertex_map.data();
        edge_in = ws.edge_map.data();
    }

    half_writer& half(int h) { return h > 0 ? positive : negative; }
    int of(int v) const { return side[v] > 0; }

    void add_vertices() {
        for (int v = 0; v < b.vertex_count; ++v) {
            const int h = of(v);
            index[v] = kept[h]++;
            half(h).vertices[index[v]] = b.vertex(v);
        }
        for (int h = 0; h < 2; ++h) {
            half_writer& out = half(h);
            std::copy(ws.cut_points.data(), ws.cut_points.data() + m, out.vertices + kept[h]);
            out.vertex_count = kept[h] + m;
        }
    }

    // Edges in order, a crossed one from its end in the half to the cut point; then the sides of
    // the cut face.
    void add_edges() {
        for (int j = 0; j < b.edge_count; ++j) {
            const int a = b.edge_end(j, 0);
            const int c = b.edge_end(j, 1);
            const int ha = of(a);
            if (ha == of(c)) {
                edge_in[2 * j + ha] = half(ha).add_edge(index[a], index[c]);
                continue;
            }
            const int p = cut_of_edge[j];
            edge_in[2 * j + ha] = half(ha).add_edge(index[a], kept[ha] + p);
            edge_in[2 * j + 1 - ha] = half(1 - ha).add_edge(index[c], kept[1 - ha] + p);
        }
        for (int h = 0; h < 2; ++h) {
            half_writer& out = half(h);
            polygon_edges[h] = out.edge_count;
            for (int k = 0; k < m; ++k)
                out.add_edge(kept[h] + unsort[k], kept[h] + unsort[k + 1 == m ? 0 : k + 1]);
        }
    }

    // The cut face side that clipped face f of half h follows from cut point p on. Faces of the
    // negative half that run counter-clockwise seen from outside run along it the other way.
    int polygon_edge_from(int h, int f, int p) const {
        const int k = polygon_position[p];
        return polygon_edges[h] + ((h == 0) != b.clockwise(f) ? (k + m - 1) % m : k);
    }

    void add_faces(const vec3& n, int cut_source) {
        for (int f = 0; f < b.face_count; ++f) {
            const int begin = b.face_begin(f);
            const int end = b.face_begin(f + 1);
            const unsigned char sides = ws.face_sides[f];
            if (sides != (has_positive | has_negative)) {
                const int h = sides == has_positive;
                half_writer& out = half(h);
                for (int i = begin; i < end; ++i)
                    out.add_corner(index[b.corner(i)], edge_in[2 * b.side_edge(i) + h]);
                out.end_face(b.normal(f), b.clockwise(f), b.source(f));
                continue;
            }
            // Each corner stays in its own half; in the other, where the face's boundary leaves
            // that half the cut point follows its last corner, and where it comes back the cut
            // point precedes the next one.
            for (int i = begin; i < end; ++i) {
                const int h = of(b.corner(i));
                const int o = 1 - h;
                const int e = b.side_edge(i);
                half(h).add_corner(index[b.corner(i)], edge_in[2 * e + h]);
                const int before = b.side_edge(b.previous_corner(f, i));
                if (of(b.corner(b.previous_corner(f, i))) == o)
                    half(o).add_corner(kept[o] + cut_of_edge[before],
                                       polygon_edge_from(o, f, cut_of_edge[before]));
                if (of(b.corner(b.next_corner(f, i))) == o)
                    half(o).add_corner(kept[o] + cut_of_edge[e], edge_in[2 * e + o]);
            }
            negative.end_face(b.normal(f), b.clockwise(f), b.source(f));
            positive.end_face(b.normal(f), b.clockwise(f), b.source(f));
        }
        const xyz normal{n[0], n[1], n[2]};
        for (int h = 0; h < 2; ++h) {
            half_writer& out = half(h);
            for (int k = 0; k < m; ++k)
                out.add_corner(kept[h] + unsort[k], polygon_edges[h] + k);
            out.end_face(normal, h > 0, cut_source);
            out.finish();
        }
    }
};

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
    halves_writer halves{ws, b, m};
    halves.add_vertices();
    halves.add_edges();
    halves.add_faces(n, cut_source);
    return true;
}
