// Buffer objects (OpenGL 1.5) hold the recorded frames.
#define GL_GLEXT_PROTOTYPES

#include "viewer/scene_drawing.hpp"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <cstdint>

namespace {

void draw_axis_cross() {
    glLineWidth(2.0f);
    const double colours[3][3] = {{0.6, 0.6, 0.9}, {0.6, 0.9, 0.6}, {0.9, 0.6, 0.6}};
    glBegin(GL_LINES);
    for (int i = 0; i < 3; ++i) {
        glColor3d(colours[i][0], colours[i][1], colours[i][2]);
        glVertex3d(axis_origin[0], axis_origin[1], axis_origin[2]);
        glVertex3dv(axis_ends[i].data());
    }
    glEnd();
}

// A directional light along the line of sight: set while the model-view matrix is the identity,
// so it stays at the eye however the view turns.
void light_from_eye() {
    const GLfloat toward_viewer[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    const GLfloat ambient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat diffuse[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat no_ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, toward_viewer);
    glPopMatrix();
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, no_ambient);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
}

// How a layer of triangles is filled.
struct fill_style {
    bool see_through = false; // blended over what lies behind, depth writes off
    bool pushed_back = false; // behind the lines and surfaces that lie in its planes
    bool two_sided = false;   // lit on both sides: open surfaces, seen from either
};

// Fills a layer of triangles by draw(), which issues the draw calls; the normals are read only
// when lit.
template <class Draw>
void fill_triangles(const triangle_layer& t, const fill_style& style, bool lit, const Draw& draw) {
    if (lit) {
        light_from_eye();
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, style.two_sided ? GL_TRUE : GL_FALSE);
        glNormalPointer(GL_FLOAT, 0, t.normals);
        glEnableClientState(GL_NORMAL_ARRAY);
    }
    if (style.see_through) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
    }
    if (style.pushed_back) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1.0f, 1.0f);
    }
    glVertexPointer(3, GL_FLOAT, 0, t.points);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, t.colours);
    glEnableClientState(GL_COLOR_ARRAY);
    draw();
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
}

void draw_triangles(const triangle_layer& t) {
    glDrawElements(GL_TRIANGLES, t.corners, GL_UNSIGNED_INT, t.triangles);
}

void fill_triangles(const triangle_layer& t, const fill_style& style, bool lit) {
    fill_triangles(t, style, lit, [&t] { draw_triangles(t); });
}

// The triangles of t's runs in one call, those turned away from the eye culled when cull.
void draw_runs(const triangle_layer& t, const std::vector<corner_run>& runs, bool cull) {
    if (runs.empty())
        return;
    // t.triangles is a pointer or a byte offset in the bound buffer: either way runs start at
    // byte offsets from it.
    const auto base = reinterpret_cast<std::uintptr_t>(t.triangles);
    std::vector<const void*> firsts;
    std::vector<GLsizei> counts;
    for (const corner_run& r : runs) {
        firsts.push_back(reinterpret_cast<const void*>(base + static_cast<std::uintptr_t>(r.first) *
                                                                  sizeof(std::uint32_t)));
        counts.push_back(r.count);
    }
    if (cull)
        glEnable(GL_CULL_FACE);
    glMultiDrawElements(GL_TRIANGLES, counts.data(), GL_UNSIGNED_INT, firsts.data(),
                        static_cast<GLsizei>(runs.size()));
    glDisable(GL_CULL_FACE);
}

// The frame from arrays in memory or in the bound buffer.
void draw_arrays(const mesh_arrays& a, const display_modes& modes, bool cull_hidden) {
    glPointSize(1.0f);
    draw_axis_cross();
    glEnableClientState(GL_VERTEX_ARRAY);

    glPointSize(3.0f);
    glVertexPointer(3, GL_FLOAT, 0, a.tracer_points);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, a.tracer_colours);
    glEnableClientState(GL_COLOR_ARRAY);
    glDrawArrays(GL_POINTS, 0, a.tracers);
    glDisableClientState(GL_COLOR_ARRAY);

    // Opaque horizons first, so see-through faces blend over them.
    fill_triangles(a.horizons, {.two_sided = true}, modes.lit);
    const bool see_through = modes.blocks == block_look::see_through;
    fill_triangles(a.faces, {.see_through = see_through, .pushed_back = true}, modes.lit, [&] {
        // Culling is left to opaque frames: see-through faces show the ones behind them.
        if (cull_hidden && !see_through) {
            draw_runs(a.faces, a.closed_runs, true);
            draw_runs(a.faces, a.open_runs, false);
        } else {
            draw_triangles(a.faces);
        }
    });
    fill_triangles(a.walls, {.see_through = true, .two_sided = true}, modes.lit);

    glColor3d(0.0, 0.0, 0.0);
    glLineWidth(1.5f);
    glVertexPointer(3, GL_FLOAT, 0, a.faces.points);
    glDrawElements(GL_LINES, a.edge_end_count, GL_UNSIGNED_INT, a.edge_ends);
    glDisableClientState(GL_VERTEX_ARRAY);
}

template <class T> int count_of(const std::vector<T>& values, int per_item) {
    return static_cast<int>(values.size() / static_cast<std::size_t>(per_item));
}

// The counts of mesh with every array where place puts it.
template <class Place> mesh_arrays arrays_of(const frame_mesh& mesh, const Place& place) {
    const auto layer = [&place](const triangle_arrays& t) {
        return triangle_layer{place(t.points), place(t.normals), place(t.colours),
                              place(t.triangles), count_of(t.triangles, 1)};
    };
    mesh_arrays a;
    a.faces = layer(mesh.faces);
    a.closed_runs = mesh.closed_runs;
    a.open_runs = mesh.open_runs;
    a.walls = layer(mesh.walls);
    a.horizons = layer(mesh.horizons);
    a.edge_ends = place(mesh.edge_ends);
    a.tracer_points = place(mesh.tracer_points);
    a.tracer_colours = place(mesh.tracer_colours);
    a.edge_end_count = count_of(mesh.edge_ends, 1);
    a.tracers = count_of(mesh.tracer_points, 3);
    return a;
}

} // namespace

void apply_fixed_state(const std::array<float, 4>& clear_color) {
    glClearColor(clear_color[0], clear_color[1], clear_color[2], clear_color[3]);
    glEnable(GL_DEPTH_TEST);
}

void apply_camera(const view_state& view, const depth_range& planes) {
    glViewport(0, 0, view.ww, view.hh);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(field_of_view_degrees,
                   static_cast<double>(view.ww) / static_cast<double>(view.hh), planes.near_plane,
                   planes.far_plane);
    // The look alone in the model-view matrix, so lighting sees normals turned, not projected.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(view.view_point[0], view.view_point[1], view.view_point[2], 0.0, 0.0, 0.0,
              view.view_upward[0], view.view_upward[1], view.view_upward[2]);
}

void clear_frame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void draw_mesh(const frame_mesh& mesh, const display_modes& modes, bool cull_hidden) {
    draw_arrays(arrays_of(mesh, [](const auto& values) -> const void* { return values.data(); }),
                modes, cull_hidden);
}

recorded_scene record_scene(const frame_mesh& mesh) {
    // One buffer with the arrays one after the other; each array's place is its byte offset.
    // The arrays go straight from the mesh into the buffer, not through a copy of them all.
    struct piece {
        std::size_t at;
        const void* data;
        std::size_t size;
    };
    std::vector<piece> pieces;
    std::size_t total = 0;
    const auto place = [&](const auto& values) -> const void* {
        const std::size_t at = total;
        pieces.push_back({at, values.data(), values.size() * sizeof(values[0])});
        total += pieces.back().size;
        return reinterpret_cast<const void*>(at);
    };
    recorded_scene scene;
    scene.arrays = arrays_of(mesh, place);
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenBuffers(1, &name);
    glBindBuffer(GL_ARRAY_BUFFER, name);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(total), nullptr, GL_STATIC_DRAW);
    for (const piece& p : pieces)
        if (p.size > 0)
            glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(p.at),
                            static_cast<GLsizeiptr>(p.size), p.data);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    scene.buffer = name;
    scene.bytes = total;
    if (glGetError() == GL_OUT_OF_MEMORY) {
        delete_scene(scene);
        return {};
    }
    return scene;
}

void replay_scene(const recorded_scene& scene, const display_modes& modes, bool cull_hidden) {
    glBindBuffer(GL_ARRAY_BUFFER, scene.buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, scene.buffer);
    draw_arrays(scene.arrays, modes, cull_hidden);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void delete_scene(const recorded_scene& scene) {
    const GLuint name = scene.buffer;
    glDeleteBuffers(1, &name);
}
