#include "geometry/detail/cut_tables.hpp"

#include "geometry/detail/plane_side.hpp"
#include "geometry/xyz.hpp"

#include <algorithm>
#include <utility>

namespace {

void add_crossed_edge_points(cut_workspace& ws, const work_block& b) {
    const side_list& side = ws.vertex_side;
    ws.cut_edge_to_intersection_point.assign(b.edge_count, -1);
    for (int j = 0; j < b.edge_count; ++j) {
        const int a = b.edge_end(j, 0);
        const int c = b.edge_end(j, 1);
        if (side[a] * side[c] >= 0)
            continue;
        const xyz x =
            edge_cut_point(b.vertex(a), b.vertex(c), ws.vertex_distance[a], ws.vertex_distance[c]);
        intersection_point ip;
        ip.point = make_vec3(x[0], x[1], x[2]);
        ip.edge = j;
        ws.cut_edge_to_intersection_point[j] = static_cast<int>(ws.intersection_pset.size());
        ws.intersection_pset.push_back(ip);
    }
}

void add_on_plane_vertices(cut_workspace& ws, const work_block& b) {
    ws.vertex_corner.assign(b.vertex_count, -1);
    for (int v = 0; v < b.vertex_count; ++v) {
        if (ws.vertex_side[v] != 0)
            continue;
        intersection_point ip;
        const xyz& p = b.vertex(v);
        ip.point = make_vec3(p[0], p[1], p[2]);
        ip.edge = on_plane_edge(v);
        ws.vertex_corner[v] = static_cast<int>(ws.intersection_pset.size());
        ws.intersection_pset.push_back(ip);
    }
}

void mark_face_sides(cut_workspace& ws, const work_block& b) {
    ws.face_sides.assign(b.face_count, 0);
    for (int f = 0; f < b.face_count; ++f)
        for (int i = b.face_begin(f); i < b.face_begin(f + 1); ++i) {
            const int s = ws.vertex_side[b.corner(i)];
            ws.face_sides[f] |= s > 0 ? has_positive : s < 0 ? has_negative : 0;
        }
}

// Collects the sides of one half's cut face in next, each from the corner it leaves,
// pointing the way the polygon runs counter-clockwise about the normal.
struct side_linker {
    cut_workspace& ws;
    const work_block& b;
    int half;
    std::vector<int>& next;
    std::vector<int>& next_edge;
    int sides = 0;
    bool simple = true;

    bool erased(int i) const { return ws.vertex_side[b.corner(i)] == -half; }
    bool kept(int f) const {
        return (ws.face_sides[f] & (half > 0 ? has_positive : has_negative)) != 0;
    }

    // The corner that vertex corner i of a face stands for on the polygon: the vertex itself when
    // it lies on the plane, else the cut point on the face side `side` next to it.
    int polygon_corner(int i, int side) const {
        const int v = b.corner(i);
        return ws.vertex_side[v] == 0 ? ws.vertex_corner[v]
                                      : ws.cut_edge_to_intersection_point[b.side_edge(side)];
    }

    // Face f, clipped, runs from `from` to `to` where the half's cut face takes over. Seen from
    // outside, the two run opposite ways along that side; seen from outside the positive half,
    // the polygon runs clockwise about the normal.
    void link(int f, int from, int to, int e) {
        if ((half < 0) != b.clockwise(f))
            std::swap(from, to);
        if (from < 0 || to < 0 || next[from] >= 0) {
            simple = false;
            return;
        }
        next[from] = to;
        next_edge[from] = e;
        ++sides;
    }

    // Each run of erased corners of a kept face is replaced by one side across it.
    void link_across_erased_runs() {
        for (int f = 0; f < b.face_count; ++f) {
            if (!kept(f))
                continue;
            for (int i = b.face_begin(f); i < b.face_begin(f + 1); ++i) {
                if (!erased(i) || erased(b.previous_corner(f, i)))
                    continue;
                int last = i;
                while (erased(b.next_corner(f, last)))
                    last = b.next_corner(f, last);
                const int before = b.previous_corner(f, i);
                link(f, polygon_corner(before, before),
                     polygon_corner(b.next_corner(f, last), last), -1);
            }
        }
    }

    // A side between two vertices on the plane that only one kept face has is open.
    void link_open_on_plane_sides() {
        for (int pass = 0; pass < 2; ++pass)
            for (int f = 0; f < b.face_count; ++f) {
                if (!kept(f))
                    continue;
                for (int i = b.face_begin(f); i < b.face_begin(f + 1); ++i) {
                    const int x = b.corner(i);
                    const int y = b.corner(b.next_corner(f, i));
                    if (ws.vertex_side[x] != 0 || ws.vertex_side[y] != 0)
                        continue;
                    const int e = b.side_edge(i);
                    int& count = ws.on_plane_side_count[e][half > 0];
                    if (pass == 0)
                        ++count;
                    else if (count == 1)
                        link(f, ws.vertex_corner[x], ws.vertex_corner[y], e);
                }
            }
    }
};

// Walks polygon_next from the first corner on it into polygon_corners. Returns whether the walk
// closes after passing every side once.
bool walk_polygon(cut_workspace& ws, int sides) {
    ws.polygon_corners.clear();
    const int m = static_cast<int>(ws.intersection_pset.size());
    int start = 0;
    while (start < m && ws.polygon_next[start] < 0)
        ++start;
    if (start == m)
        return false;
    int c = start;
    do {
        ws.polygon_corners.push_back(c);
        c = ws.polygon_next[c];
    } while (c >= 0 && c != start && static_cast<int>(ws.polygon_corners.size()) <= sides);
    return c == start && static_cast<int>(ws.polygon_corners.size()) == sides;
}

} // namespace

bool fill_cut_tables(cut_workspace& ws, const work_block& b) {
    ws.intersection_pset.clear();
    add_crossed_edge_points(ws, b);
    add_on_plane_vertices(ws, b);
    mark_face_sides(ws, b);
    return ws.intersection_pset.size() >= 3;
}

bool order_cut_polygon(cut_workspace& ws, const work_block& b, const vec3& n) {
    const std::vector<intersection_point>& pset = ws.intersection_pset;
    const int m = static_cast<int>(pset.size());
    const bool on_plane_vertices = pset.back().edge < 0;
    if (on_plane_vertices)
        ws.on_plane_side_count.assign(b.edge_count, {0, 0});
    // Each half links the sides of its own cut face; the halves fit together only when the two
    // polygons agree. Without vertices on the plane they agree by construction.
    int sides = 0;
    for (int half : {-1, 1}) {
        if (half < 0 && !on_plane_vertices)
            continue;
        std::vector<int>& next = half > 0 ? ws.polygon_next : ws.other_polygon_next;
        std::vector<int>& next_edge = half > 0 ? ws.polygon_next_edge : ws.other_polygon_next_edge;
        next.assign(m, -1);
        next_edge.assign(m, -1);
        side_linker linker{ws, b, half, next, next_edge};
        linker.link_across_erased_runs();
        if (on_plane_vertices)
            linker.link_open_on_plane_sides();
        if (!linker.simple)
            return false;
        sides = linker.sides;
    }
    if (on_plane_vertices && (ws.polygon_next != ws.other_polygon_next ||
                              ws.polygon_next_edge != ws.other_polygon_next_edge))
        return false;
    if (sides < 3 || !walk_polygon(ws, sides))
        return false;
    for (int p = 0; p < m && pset[p].edge >= 0; ++p)
        if (ws.polygon_next[p] < 0)
            return false; // a cut point that no side reaches
    const int start = angle_order_start(
        m, [&](int p) -> const vec3& { return pset[p].point; },
        [&](int p) { return ws.polygon_next[p] >= 0; }, ws.polygon_corners, n);
    ws.unsort.resize(sides);
    ws.polygon_side_edge.resize(sides);
    ws.polygon_position.assign(m, -1);
    for (int k = 0; k < sides; ++k) {
        const int p = ws.polygon_corners[(start + k) % sides];
        ws.unsort[k] = p;
        ws.polygon_position[p] = k;
        ws.polygon_side_edge[k] = ws.polygon_next_edge[p];
    }
    return true;
}

bool take_sides_of_doubtful_vertices(cut_workspace& ws, const work_block& b) {
    side_list& side = ws.vertex_side;
    std::vector<int>& doubtful = ws.polygon_corners; // reused as scratch
    doubtful.clear();
    for (int f = 0; f < b.face_count; ++f) {
        const int first = b.face_begin(f);
        const int end = b.face_begin(f + 1);
        const bool crossing = ws.face_sides[f] == (has_positive | has_negative);
        for (int i = first; i < end; ++i) {
            const bool here = side[b.corner(i)] == 0;
            const bool after = side[b.corner(b.next_corner(f, i))] == 0;
            if (here && (crossing ? after : ws.face_sides[f] == 0)) {
                doubtful.push_back(b.corner(i));
                doubtful.push_back(b.corner(b.next_corner(f, i)));
            }
        }
    }
    if (doubtful.empty())
        for (int v = 0; v < b.vertex_count; ++v)
            doubtful.push_back(v);
    bool changed = false;
    for (int v : doubtful) {
        const double d = ws.vertex_distance[v];
        const signed char s = d > 0 ? 1 : d < 0 ? -1 : 0;
        changed = changed || s != side[v];
        side[v] = s;
    }
    return changed;
}
