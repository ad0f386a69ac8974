#include "erase_vertices.hpp"

namespace {

// The half under construction in ws.parts. The maps hold the half's index of each vertex, cut
// corner (by position in intersection_pset) and edge of b, or -1 for those it lacks.
// The tables it reads most are held as plain pointers: the half's lists grow as it is written, and
// through the workspace every write would make the tables' addresses be read again.
struct half_builder {
    half_builder(cut_workspace& workspace, const work_block& block, int which,
                 work_block_parts& parts)
        : ws(workspace), b(block), half(which), out(parts), side(ws.vertex_side.data()),
          cut_of_edge(ws.cut_edge_to_intersection_point.data()),
          corners(b.ints.data() + b.corner_offset), side_edges(b.ints.data() + b.side_offset),
          own_side(half > 0 ? has_positive : has_negative) {}

    cut_workspace& ws;
    const work_block& b;
    int half;
    work_block_parts& out;
    const signed char* side;
    const int* cut_of_edge;
    const int* corners;
    const int* side_edges;
    unsigned char own_side;

    bool erased(int v) const { return side[v] == -half; }
    bool kept(int f) const { return (ws.face_sides[f] & own_side) != 0; }
    int cut_of_side(int i) const { return cut_of_edge[side_edges[i]]; }

    // The edge along the polygon side that clipped face f follows from corner p (a position in
    // intersection_pset) on. Faces of the negative half that run counter-clockwise seen from
    // outside run along the polygon the other way (see side_linker::link).
    int polygon_edge_from(int f, int p) const {
        const int m = static_cast<int>(ws.unsort.size());
        const int k = ws.polygon_position[p];
        return ws.polygon_edge[(half < 0) != b.clockwise(f) ? (k + m - 1) % m : k];
    }

    // The half's own vertices, and the vertices on the plane that one of its faces uses.
    void add_vertices() {
        ws.vertex_map.assign(b.vertex_count, -1);
        const bool on_plane_vertices = ws.intersection_pset.back().edge < 0;
        for (int f = 0; on_plane_vertices && f < b.face_count; ++f)
            if (kept(f))
                for (int i = b.face_begin(f); i < b.face_begin(f + 1); ++i)
                    if (side[corners[i]] == 0)
                        ws.vertex_map[corners[i]] = 0;
        for (int v = 0; v < b.vertex_count; ++v) {
            const bool keep = side[v] == half || ws.vertex_map[v] == 0;
            ws.vertex_map[v] = keep ? static_cast<int>(out.vertices.size()) : -1;
            if (keep)
                out.vertices.push_back(b.vertex(v));
        }
        const std::vector<intersection_point>& pset = ws.intersection_pset;
        ws.corner_map.resize(pset.size());
        for (std::size_t p = 0; p < pset.size(); ++p) {
            if (pset[p].edge < 0) {
                ws.corner_map[p] = ws.vertex_map[on_plane_vertex(pset[p].edge)];
                continue;
            }
            ws.corner_map[p] = static_cast<int>(out.vertices.size());
            out.vertices.push_back({pset[p].point[0], pset[p].point[1], pset[p].point[2]});
        }
    }

    int add_edge(int x, int y) {
        out.edges.push_back({x, y});
        return static_cast<int>(out.edges.size()) - 1;
    }

    // Edges of b with both ends kept, crossed edges cut short at their cut point, then the
    // polygon's sides that are not edges of b.
    void add_edges() {
        ws.edge_map.assign(b.edge_count, -1);
        for (int j = 0; j < b.edge_count; ++j) {
            const int a = b.edge_end(j, 0);
            const int c = b.edge_end(j, 1);
            const bool on_plane = side[a] == 0 && side[c] == 0;
            if (!erased(a) && !erased(c) && (!on_plane || ws.on_plane_side_count[j][half > 0] > 0))
                ws.edge_map[j] = add_edge(ws.vertex_map[a], ws.vertex_map[c]);
            else if (erased(a) != erased(c) && cut_of_edge[j] >= 0)
                ws.edge_map[j] =
                    add_edge(ws.vertex_map[erased(a) ? c : a], ws.corner_map[cut_of_edge[j]]);
        }
        const std::size_t m = ws.unsort.size();
        ws.polygon_edge.resize(m);
        for (std::size_t k = 0; k < m; ++k)
            ws.polygon_edge[k] =
                ws.polygon_side_edge[k] >= 0
                    ? ws.edge_map[ws.polygon_side_edge[k]]
                    : add_edge(ws.corner_map[ws.unsort[k]], ws.corner_map[ws.unsort[(k + 1) % m]]);
    }

    void add_corner(int index, int side_edge) {
        out.corners.push_back(index);
        out.side_edges.push_back(side_edge);
    }

    // The corners of face f that the half keeps, with a cut point where a side crosses the plane;
    // a run of erased corners gives way to a polygon side.
    void add_clipped_face(int f) {
        const std::size_t start = out.corners.size();
        for (int i = b.face_begin(f); i < b.face_begin(f + 1); ++i) {
            const int before = b.previous_corner(f, i);
            const int after = b.next_corner(f, i);
            const int cur = corners[i];
            if (!erased(cur)) {
                const bool into_polygon = erased(corners[after]) && cut_of_side(i) < 0;
                add_corner(ws.vertex_map[cur], into_polygon
                                                   ? polygon_edge_from(f, ws.vertex_corner[cur])
                                                   : ws.edge_map[side_edges[i]]);
                continue;
            }
            if (!erased(corners[before]) && cut_of_side(before) >= 0)
                add_corner(ws.corner_map[cut_of_side(before)],
                           polygon_edge_from(f, cut_of_side(before)));
            if (!erased(corners[after]) && cut_of_side(i) >= 0)
                add_corner(ws.corner_map[cut_of_side(i)], ws.edge_map[side_edges[i]]);
        }
        if (out.corners.size() - start < 3) {
            out.corners.resize(start);
            out.side_edges.resize(start);
            return;
        }
        out.end_face(b.normal(f), b.clockwise(f));
    }

    void add_faces(const vec3& fn) {
        for (int f = 0; f < b.face_count; ++f)
            if (kept(f))
                add_clipped_face(f);
        for (std::size_t k = 0; k < ws.unsort.size(); ++k)
            add_corner(ws.corner_map[ws.unsort[k]], ws.polygon_edge[k]);
        out.end_face({fn[0], fn[1], fn[2]}, half > 0);
    }
};

} // namespace

void erase_vertices(cut_workspace& ws, const work_block& b, int half, const vec3& fn,
                    work_block& out) {
    ws.parts.clear();
    half_builder builder{ws, b, half, ws.parts};
    builder.add_vertices();
    builder.add_edges();
    builder.add_faces(fn);
    ws.parts.pack_into(out);
}
