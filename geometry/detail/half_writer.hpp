// One half of a cut block written into its parts: the lists sized ahead to the most the half can
// need and written through plain pointers (through the parts, every write would make the compiler
// read their addresses again), then cut back to what was written.
#pragma once

#include "geometry/detail/work_block.hpp"

struct half_writer {
    // For a half of b whose cut face has at most cut_corners corners.
    half_writer(work_block_parts& parts, const work_block& b, int cut_corners) : out(parts) {
        const int given_corners = b.side_offset - b.corner_offset;
        out.vertices.resize(b.vertex_count + cut_corners);
        out.edges.resize(b.edge_count + cut_corners);
        // A clipped face has at most two corners for each of its own.
        out.corners.resize(2 * given_corners + cut_corners);
        out.side_edges.resize(2 * given_corners + cut_corners);
        out.face_begin.resize(b.face_count + 2);
        out.clockwise.resize(b.face_count + 1);
        out.sources.resize(b.face_count + 1);
        out.sides_are_edges = true;
        vertices = out.vertices.data();
        edges = out.edges.data();
        corners = out.corners.data();
        side_edges = out.side_edges.data();
        face_begin = out.face_begin.data();
        clockwise = out.clockwise.data();
        sources = out.sources.data();
        face_begin[0] = 0;
    }

    work_block_parts& out;
    xyz* vertices;
    edge* edges;
    local_index* corners;
    local_index* side_edges;
    int* face_begin;
    int* clockwise;
    int* sources;
    int vertex_count = 0, edge_count = 0, corner_count = 0, face_count = 0;

    int add_edge(int x, int y) {
        edges[edge_count] = {x, y};
        return edge_count++;
    }

    void add_corner(int index, int side_edge) {
        corners[corner_count] = static_cast<local_index>(index);
        side_edges[corner_count++] = static_cast<local_index>(side_edge);
    }

    // Closes the face whose corners were added since the last one; with fewer than three it is
    // dropped instead.
    void end_face(bool runs_clockwise, int source) {
        if (corner_count - face_begin[face_count] < 3) {
            corner_count = face_begin[face_count];
            return;
        }
        sources[face_count] = source;
        clockwise[face_count++] = runs_clockwise;
        face_begin[face_count] = corner_count;
    }

    // Cuts the lists back to what was written.
    void finish() {
        out.vertices.resize(vertex_count);
        out.edges.resize(edge_count);
        out.corners.resize(corner_count);
        out.side_edges.resize(corner_count);
        out.face_begin.resize(face_count + 1);
        out.clockwise.resize(face_count);
        out.sources.resize(face_count);
    }
};
