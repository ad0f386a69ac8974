#include "geometry/detail/erase_vertices.hpp"

namespace {

// The half under construction in its parts (half_parts). The maps hold the half's index of each
// vertex, cut corner (by position in intersection_pset) and edge of b, or -1 for those it lacks.
// The half's lists are sized ahead to what the half can need at most and written through plain
// pointers, as are the tables read most: through the workspace, every write would make the
// compiler read their addresses again.
struct half_builder {
    half_builder(cut_workspace& workspace, const work_block& block, int which)
        : ws(workspace), b(block), half(which), side(ws.vertex_side.data()),
          cut_of_edge(ws.cut_edge_to_intersection_point.data()), corners(b.ints + b.corner_offset),
          side_edges(b.ints + b.side_offset), own_side(half > 0 ? has_positive : has_negative) {
        work_block_parts& out = half_parts(ws, half);
        const int m = static_cast<int>(ws.intersection_pset.size());
        const int sides = static_cast<int>(ws.unsort.size());
        const int given_corners = b.side_offset - b.corner_offset;
        out.vertices.resize(b.vertex_count + m);
        out.edges.resize(b.edge_count + sides);
        // A clipped face has at most two corners for each of its own.
        out.corners.resize(2 * given_corners + sides);
        out.side_edges.resize(2 * given_corners + sides);
        out.face_begin.resize(b.face_count + 2);
        out.clockwise.resize(b.face_count + 1);
        out.sources.resize(b.face_count + 1);
        out.normals.resize(b.face_count + 1);
        vertices = out.vertices.data();
        edges = out.edges.data();
        out_corners = out.corners.data();
        out_side_edges = out.side_edges.data();
        face_begin = out.face_begin.data();
        clockwise = out.clockwise.data();
        sources = out.sources.data();
        normals = out.normals.data();
        face_begin[0] = 0;
        out.sides_are_edges = true;
    }

    cut_workspace& ws;
    const work_block& b;
    int half;
    const signed char* side;
    const int* cut_of_edge;
    const int* corners;
    const int* side_edges;
    unsigned char own_side;
    xyz* vertices;
    edge* edges;
    int* out_corners;
    int* out_side_edges;
    int* face_begin;
    int* clockwise;
    int* sources;
    xyz* normals;
    int vertex_count = 0, edge_count = 0, corner_count = 0, face_count = 0;

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
            vertex_map[v] = keep ? vertex_count : -1;
            if (keep)
                vertices[vertex_count++] = b.vertex(v);
        }
        const std::vector<intersection_point>& pset = ws.intersection_pset;
        ws.corner_map.resize(pset.size());
        int* corner_map = ws.corner_map.data();
        for (std::size_t p = 0; p < pset.size(); ++p) {
            if (pset[p].edge < 0) {
                corner_map[p] = vertex_map[on_plane_vertex(pset[p].edge)];
                continue;
            }
            corner_map[p] = vertex_count;
            vertices[vertex_count++] = {pset[p].point[0], pset[p].point[1], pset[p].point[2]};
        }
    }

    int add_edge(int x, int y) {
        edges[edge_count] = {x, y};
        return edge_count++;
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
                edge_map[j] = add_edge(vertex_map[a], vertex_map[c]);
            else if (erased(a) != erased(c) && cut_of_edge[j] >= 0)
                edge_map[j] = add_edge(vertex_map[erased(a) ? c : a], corner_map[cut_of_edge[j]]);
        }
        const std::size_t m = ws.unsort.size();
        ws.polygon_edge.resize(m);
        for (std::size_t k = 0; k < m; ++k)
            ws.polygon_edge[k] =
                ws.polygon_side_edge[k] >= 0
                    ? edge_map[ws.polygon_side_edge[k]]
                    : add_edge(corner_map[ws.unsort[k]], corner_map[ws.unsort[(k + 1) % m]]);
    }

    void add_corner(int index, int side_edge) {
        out_corners[corner_count] = index;
        out_side_edges[corner_count++] = side_edge;
    }

    void end_face(const xyz& normal, bool runs_clockwise, int source) {
        normals[face_count] = normal;
        sources[face_count] = source;
        clockwise[face_count++] = runs_clockwise;
        face_begin[face_count] = corner_count;
    }

    // The corners of face f that the half keeps, with a cut point where a side crosses the plane;
    // a run of erased corners gives way to a polygon side.
    void add_clipped_face(int f) {
        const int start = corner_count;
        const int* vertex_map = ws.vertex_map.data();
        const int* corner_map = ws.corner_map.data();
        const int* edge_map = ws.edge_map.data();
        for (int i = b.face_begin(f); i < b.face_begin(f + 1); ++i) {
            const int before = b.previous_corner(f, i);
            const int after = b.next_corner(f, i);
            const int cur = corners[i];
            if (!erased(cur)) {
                const bool into_polygon = erased(corners[after]) && cut_of_side(i) < 0;
                add_corner(vertex_map[cur], into_polygon
                                                ? polygon_edge_from(f, ws.vertex_corner[cur])
                                                : edge_map[side_edges[i]]);
                continue;
            }
            if (!erased(corners[before]) && cut_of_side(before) >= 0)
                add_corner(corner_map[cut_of_side(before)],
                           polygon_edge_from(f, cut_of_side(before)));
            if (!erased(corners[after]) && cut_of_side(i) >= 0)
                add_corner(corner_map[cut_of_side(i)], edge_map[side_edges[i]]);
        }
        if (corner_count - start < 3) {
            corner_count = start;
            return;
        }
        end_face(b.normal(f), b.clockwise(f), b.source(f));
    }

    void add_faces(const vec3& fn, int cut_source) {
        for (int f = 0; f < b.face_count; ++f)
            if (kept(f))
                add_clipped_face(f);
        for (std::size_t k = 0; k < ws.unsort.size(); ++k)
            add_corner(ws.corner_map[ws.unsort[k]], ws.polygon_edge[k]);
        end_face({fn[0], fn[1], fn[2]}, half > 0, cut_source);
    }

    // Cuts the lists back to what was written.
    void finish() {
        work_block_parts& out = half_parts(ws, half);
        out.vertices.resize(vertex_count);
        out.edges.resize(edge_count);
        out.corners.resize(corner_count);
        out.side_edges.resize(corner_count);
        out.face_begin.resize(face_count + 1);
        out.clockwise.resize(face_count);
        out.sources.resize(face_count);
        out.normals.resize(face_count);
    }
};

} // namespace

void erase_vertices(cut_workspace& ws, const work_block& b, int half, const vec3& fn,
                    int cut_source) {
    half_builder builder{ws, b, half};
    builder.add_vertices();
    builder.add_edges();
    builder.add_faces(fn, cut_source);
    builder.finish();
}
