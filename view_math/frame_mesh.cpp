#include "view_math/frame_mesh.hpp"

#include "view_math/face_winding.hpp"
#include "view_math/scene_colours.hpp"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

namespace {

using rgba8 = std::array<std::uint8_t, 4>;

rgba8 to_rgba8(const colour3& c, std::uint8_t alpha) {
    rgba8 out{0, 0, 0, alpha};
    for (int k = 0; k < 3; ++k)
        out[k] = static_cast<std::uint8_t>(std::lround(c[k] * 255.0f));
    return out;
}

template <class Point>
void push_point(std::vector<float>& points, const Point& p, const xyz& offset) {
    for (int k = 0; k < 3; ++k)
        points.push_back(static_cast<float>(p[k] + offset[k]));
}

// count more values at the end of values, to be written through the pointer returned.
template <class T> T* grow(std::vector<T>& values, std::size_t count) {
    const std::size_t at = values.size();
    values.resize(at + count);
    return values.data() + at;
}

void push_colour(std::vector<std::uint8_t>& colours, const rgba8& c) {
    colours.insert(colours.end(), c.begin(), c.end());
}

// Whether the block of part lies on the side the plane's normal points to, judged by its
// vertices' mean where it is drawn.
bool on_moving_side(const scene_part& part, const fault_plane& plane) {
    const std::span<const xyz> v = part.shape->vertices;
    xyz mean{0.0, 0.0, 0.0};
    for (int k = 0; k < 3; ++k) {
        for (const xyz& p : v)
            mean[k] += p[k];
        mean[k] = mean[k] / static_cast<double>(v.size()) + part.offset[k];
    }
    const xyz point{plane.point[0], plane.point[1], plane.point[2]};
    const xyz normal{plane.normal[0], plane.normal[1], plane.normal[2]};
    return dot(minus(mean, point), normal) >= 0.0;
}

colour3 face_colour(const scene_part& part, const display_modes& modes,
                    const frame_colouring& colouring) {
    switch (modes.colouring) {
    case face_colouring::per_block:
        return block_colour(part.number);
    case face_colouring::fault_side:
        if (colouring.plane)
            return fault_side_colour(on_moving_side(part, *colouring.plane));
        break;
    case face_colouring::white:
        break;
    }
    return {1.0f, 1.0f, 1.0f};
}

// The convex polygon with corner(0..count-1) as GL fills it: its corners once and the fan of
// triangles about its first corner. The arrays grow once per polygon and are written in place: a
// step's frame has about a million corners.
template <class Corner, class Normal>
void add_polygon(triangle_arrays& out, std::size_t count, const Corner& corner,
                 const Normal& normal, const xyz& offset, const rgba8& colour) {
    if (count < 3)
        return;
    const auto first = static_cast<std::uint32_t>(out.points.size() / 3);
    float* point = grow(out.points, 3 * count);
    float* normals = grow(out.normals, 3 * count);
    std::uint8_t* colours = grow(out.colours, 4 * count);
    const float n[3] = {static_cast<float>(normal[0]), static_cast<float>(normal[1]),
                        static_cast<float>(normal[2])};
    for (std::size_t i = 0; i < count; ++i) {
        const auto& p = corner(i);
        for (int c = 0; c < 3; ++c) {
            *point++ = static_cast<float>(p[c] + offset[c]);
            *normals++ = n[c];
        }
        colours = std::copy(colour.begin(), colour.end(), colours);
    }
    std::uint32_t* triangle = grow(out.triangles, 3 * (count - 2));
    for (std::uint32_t k = 1; k + 1 < count; ++k)
        for (const std::uint32_t i : {std::uint32_t{0}, k, k + 1})
            *triangle++ = first + i;
}

// runs with triangle corners first..end-1 added, joined to the last run where it ends at first.
void add_run(std::vector<corner_run>& runs, int first, int end) {
    if (!runs.empty() && runs.back().first + runs.back().count == first)
        runs.back().count = end - runs.back().first;
    else
        runs.push_back({first, end - first});
}

int triangle_corners(const triangle_arrays& t) {
    return static_cast<int>(t.triangles.size());
}

// Lists kept from block to block while a frame is built.
struct block_lists {
    winding_lists winding;
    std::vector<std::uint32_t> corner_of; // per vertex of the block: a corner of faces at it
};

// Opaque blocks whose faces close are drawn with each face wound outward, as outward_faces gives
// it, so the faces turned away can be culled; the rest as given. The normals stay as given. The
// winding is the part's where it has one, else found here. The edges join corners of the faces.
void add_block(frame_mesh& mesh, const scene_part& part, const rgba8& colour, bool opaque,
               block_lists& lists) {
    const block_view& b = *part.shape;
    const int first = triangle_corners(mesh.faces);
    const face_winding winding = !opaque        ? face_winding{}
                                 : part.winding ? *part.winding
                                                : outward_winding(b, lists.winding);
    std::vector<std::uint32_t>& corner_of = lists.corner_of;
    corner_of.assign(b.vertices.size(), UINT32_MAX);
    for (std::size_t n = 0; n < b.face_count(); ++n) {
        const std::span<const int> c = b.face_corners(n);
        const bool reversed = winding.closed && winding.reversed[n];
        const auto at = static_cast<std::uint32_t>(mesh.faces.points.size() / 3);
        add_polygon(
            mesh.faces, c.size(),
            [&](std::size_t i) {
                const auto v = static_cast<std::size_t>(c[reversed && i > 0 ? c.size() - i : i]);
                if (corner_of[v] == UINT32_MAX)
                    corner_of[v] = at + static_cast<std::uint32_t>(i);
                return b.vertices[v];
            },
            b.normals[n], part.offset, colour);
    }
    add_run(winding.closed ? mesh.closed_runs : mesh.open_runs, first,
            triangle_corners(mesh.faces));
    for (const edge& e : b.edges)
        for (int end : e) {
            const auto v = static_cast<std::size_t>(end);
            if (corner_of[v] == UINT32_MAX) {
                // A vertex no drawn face has: a corner of its own, in no triangle.
                corner_of[v] = static_cast<std::uint32_t>(mesh.faces.points.size() / 3);
                push_point(mesh.faces.points, b.vertices[v], part.offset);
                mesh.faces.normals.insert(mesh.faces.normals.end(), 3, 0.0f);
                push_colour(mesh.faces.colours, colour);
            }
            mesh.edge_ends.push_back(corner_of[v]);
        }
}

// The polygons of fault surfaces or horizon pieces, polygon p in colour(p).
template <class Colour>
void add_polygons(triangle_arrays& out, const polygon_list& polygons, const xyz& offset,
                  const Colour& colour) {
    for (std::size_t p = 0; p < polygons.size(); ++p) {
        const std::span<const xyz> corners = polygons.polygon(p);
        add_polygon(
            out, corners.size(), [&](std::size_t i) { return corners[i]; }, newell_normal(corners),
            offset, colour(p));
    }
}

// The arrays of mesh given room for the blocks' faces and edges of parts, each array grown once.
void reserve_blocks(frame_mesh& mesh, const std::vector<scene_part>& parts) {
    std::size_t corners = 0, triangles = 0, ends = 0;
    for (const scene_part& part : parts)
        if (part.shape) {
            for (std::size_t f = 0; f < part.shape->face_count(); ++f) {
                const std::size_t count = part.shape->face_corners(f).size();
                corners += count < 3 ? 0 : count;
                triangles += count < 3 ? 0 : count - 2;
            }
            ends += 2 * part.shape->edges.size();
        }
    mesh.faces.points.reserve(3 * corners);
    mesh.faces.normals.reserve(3 * corners);
    mesh.faces.colours.reserve(4 * corners);
    mesh.faces.triangles.reserve(3 * triangles);
    mesh.edge_ends.reserve(ends);
}

rgba8 tracer_colour(const scene_part& part, std::size_t t, const display_modes& modes,
                    const frame_colouring& colouring) {
    if (modes.tracers != tracer_look::elevation || !part.start_z || t >= part.start_z->size())
        return to_rgba8({0.0f, 1.0f, 0.1f}, 255);
    const auto [lo, hi] = colouring.start_z_range;
    const double fraction = hi > lo ? ((*part.start_z)[t] - lo) / (hi - lo) : 0.5;
    return to_rgba8(elevation_colour(fraction), 255);
}

} // namespace

frame_mesh build_frame_mesh(const std::vector<scene_part>& parts, const display_modes& modes,
                            const frame_colouring& colouring) {
    frame_mesh mesh;
    const bool opaque = modes.blocks == block_look::shown;
    const std::uint8_t alpha = opaque ? 255 : see_through_alpha;
    if (modes.blocks != block_look::hidden)
        reserve_blocks(mesh, parts);
    if (modes.tracers != tracer_look::hidden) {
        std::size_t tracers = 0;
        for (const scene_part& part : parts)
            tracers += part.tracers ? part.tracers->size() : 0;
        mesh.tracer_points.reserve(3 * tracers);
        mesh.tracer_colours.reserve(4 * tracers);
    }
    block_lists lists;
    for (const scene_part& part : parts) {
        if (part.shape && !part.shape->vertices.empty() && modes.blocks != block_look::hidden)
            add_block(mesh, part, to_rgba8(face_colour(part, modes, colouring), alpha), opaque,
                      lists);
        if (part.walls && modes.fault_surfaces) {
            const fault_surfaces& w = *part.walls;
            add_polygons(mesh.walls, w.polygons, part.offset, [&](std::size_t p) {
                return to_rgba8(fault_colour(static_cast<std::size_t>(w.fault[p])),
                                fault_surface_alpha);
            });
        }
        if (part.horizons && modes.horizons) {
            const horizon_pieces& h = *part.horizons;
            add_polygons(mesh.horizons, h.polygons, part.offset, [&](std::size_t p) {
                const auto k = static_cast<std::size_t>(h.horizon[p]);
                return to_rgba8(k < colouring.horizons.size() ? to_colour3(colouring.horizons[k])
                                                              : horizon_colour(k),
                                255);
            });
        }
        if (part.tracers && modes.tracers != tracer_look::hidden)
            for (std::size_t t = 0; t < part.tracers->size(); ++t) {
                push_point(mesh.tracer_points, (*part.tracers)[t], part.offset);
                push_colour(mesh.tracer_colours, tracer_colour(part, t, modes, colouring));
            }
    }
    return mesh;
}
