#include "geometry/detail/erase_vertices.hpp"

#include "geometry/detail/half_writer.hpp"

namespace {

// The half under construction, written by out. The maps hold the half's index of each vertex, cut
// corner (by position in intersection_pset) and edge of b, or -1 for those it lacks. The tables
// read most are read through plain pointers: through the workspace, every write would make the
// compiler read their addresses again.
struct half_builder {
    half_builder(cut_workspace& workspace, const work_block& block, int which)
        : ws(workspace), b(block), half(which), side(ws.vertex_side.data()),
          cut_of_edge(ws.cut_edge_to_intersection_point.data()),
          corners(b.locals + b.corner_offset), side_edges(b.locals + b.side_offset),
          own_side(half > 0 ? has_positive : has_negative),
          out(half_parts(ws, half), b, static_cast<int>(ws.intersection_pset.size())) {}

    cut_workspace& ws;
    const work_block& b;
    int half;
    const signed char* side;
    const int* cut_of_edge;
    const local_index* corners;
    const local_index* side_edges;
    unsigned char own_side;
    half_writer out;

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
        int* vertex_map = ws.vertex_map.data();
        const bool on_plane_vertices = ws.intersection_pset.back().edge < 0;
        for (int f = 0; on_plane_vertices && f < b.face_count; ++f)
            if (kept(f))
                for (int i = b.face_begin(f); i < b.face_begin(f + 1); ++i)
                    if (side[corners[i]] == 0)
                        vertex_map[corners[i]] = 0;
        for (int v = 0; v < b.vertex_count; ++v) {
            const bool keep = side[v] == half || vertex_map[v] == 0;
            vertex_map[v] = keep ? out.vertex_count : -1;
            if (keep)
                out.vertices[out.vertex_count++] = b.vertex(v);
        }
        const std::vector<intersection_point>& pset = ws.intersection_pset;
        ws.corner_map.resize(pset.size());
        int* corner_map = ws.corner_map.data();
        for (std::size_t p = 0; p < pset.size(); ++p) {
            if (pset[p].edge < 0) {
                corner_map[p] = vertex_map[on_plane_vertex(pset[p].edge)];
                continue;
            }
            corner_map[p] = out.vertex_count;
            out.vertices[out.vertex_count++] = {pset[p].point[0], pset[p].point[1],
                                                pset[p].point[2]};
        }
    }

    // Edges of b with both ends kept, crossed edges cut short at their cut point, then the
    // polygon's sides that are not edges of b.
    void add_edges() {
        ws.edge_map.assign(b.edge_count, -1);
        int* edge_map = ws.edge_map.data();
        const int* vertex_map = ws.vertex_map.data();
        const int* corner_map = ws.corner_map.data();
        for (int j = 0; j < b.edge_count; ++j) {
            const int a = b.edge_end(j, 0);
            const int c = b.edge_end(j, 1);
            const bool on_plane = side[a] == 0 && side[c] == 0;
            if (!erased(a) && !erased(c) && (!on_plane || ws.on_plane_side_count[j][half > 0] > 0))
                edge_map[j] = out.add_edge(vertex_map[a], vertex_map[c]);
            else if (erased(a) != erased(c) && cut_of_edge[j] >= 0)
                edge_map[j] =
                    out.add_edge(vertex_map[erased(a) ? c : a], corner_map[cut_of_edge[j]]);
        }
        const std::size_t m = ws.unsort.size();
        ws.polygon_edge.resize(m);
        for (std::size_t k = 0; k < m; ++k)
            ws.polygon_edge[k] =
                ws.polygon_side_edge[k] >= 0
                    ? edge_map[ws.polygon_side_edge[k]]
                    : out.add_edge(corner_map[ws.unsort[k]], corner_map[ws.unsort[(k + 1) % m]]);
    }

    // The corners of face f that the half keeps, with a cut point where a side crosses the plane;
    // a run of erased corners gives way to a polygon side.
    void add_clipped_face(int f) {
        const int* vertex_map = ws.vertex_map.data();
        const int* corner_map = ws.corner_map.data();
        const int* edge_map = ws.edge_map.data();
        for (int i = b.face_begin(f); i < b.face_begin(f + 1); ++i) {
            const int before = b.previous_corner(f, i);
            const int after = b.next_corner(f, i);
            const int cur = corners[i];
            if (!erased(cur)) {
                const bool into_polygon = erased(corners[after]) && cut_of_side(i) < 0;
                out.add_corner(vertex_map[cur], into_polygon
                                                    ? polygon_edge_from(f, ws.vertex_corner[cur])
                                                    : edge_map[side_edges[i]]);
                continue;
            }
            if (!erased(corners[before]) && cut_of_side(before) >= 0)
                out.add_corner(corner_map[cut_of_side(before)],
                               polygon_edge_from(f, cut_of_side(before)));
            if (!erased(corners[after]) && cut_of_side(i) >= 0)
                out.add_corner(corner_map[cut_of_side(i)], edge_map[side_edges[i]]);
        }
        out.end_face(b.clockwise(f), b.source(f));
    }

    void add_faces(int cut_source) {
        for (int f = 0; f < b.face_count; ++f)
            if (kept(f))
                add_clipped_face(f);
        for (std::size_t k = 0; k < ws.unsort.size(); ++k)
            out.add_corner(ws.corner_map[ws.unsort[k]], ws.polygon_edge[k]);
        out.end_face(half > 0, cut_source);
    }
};

} // namespace

void erase_vertices(cut_workspace& ws, const work_block& b, int half, int cut_source) {
    half_builder builder{ws, b, half};
    builder.add_vertices();
    builder.add_edges();
    builder.add_faces(cut_source);
    builder.out.finish();
}
