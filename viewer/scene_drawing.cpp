// Buffer objects (OpenGL 1.5) hold the recorded frames.
#define GL_GLEXT_PROTOTYPES

#include "scene_drawing.hpp"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <cstdint>

namespace {

void vertex(const vec3& v, const offset3& offset) {
    const double moved[3] = {v[0] + offset[0], v[1] + offset[1], v[2] + offset[2]};
    glVertex3dv(moved);
}

// One frame in the fixed order and state; send sends the tracers, faces and edges.
template <class Sender> void draw_frame(const Sender& send) {
    glLineWidth(1.0f);
    glPointSize(1.0f);
    glLineWidth(2.0f);
    const double colours[3][3] = {{0.6, 0.6, 0.9}, {0.6, 0.9, 0.6}, {0.9, 0.6, 0.6}};
    glBegin(GL_LINES);
    for (int i = 0; i < 3; ++i) {
        glColor3d(colours[i][0], colours[i][1], colours[i][2]);
        glVertex3d(axis_origin[0], axis_origin[1], axis_origin[2]);
        glVertex3dv(axis_ends[i].data());
    }
    glEnd();

    glColor3d(0.0, 1.0, 0.1);
    glPointSize(3.0f);
    send.tracers();

    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    glColor3d(1.0, 1.0, 1.0);
    send.faces();
    glDisable(GL_POLYGON_OFFSET_FILL);

    send.edges();
}

// Vertex by vertex, each face one polygon and each block's edges one batch.
struct immediate_sender {
    const std::vector<scene_part>& parts;

    void tracers() const {
        glBegin(GL_POINTS);
        for (const scene_part& part : parts)
            if (part.tracers)
                for (const vec3& p : *part.tracers)
                    glVertex3f(static_cast<float>(p[0] + part.offset[0]),
                               static_cast<float>(p[1] + part.offset[1]),
                               static_cast<float>(p[2] + part.offset[2]));
        glEnd();
    }

    void faces() const {
        for (const scene_part& part : parts) {
            if (!part.shape)
                continue;
            const block& b = *part.shape;
            for (const face& f : b.faces) {
                glBegin(GL_POLYGON);
                glNormal3d(f.normal[0], f.normal[1], f.normal[2]);
                for (int index : f.indices)
                    vertex(b.vertices[index], part.offset);
                glEnd();
            }
        }
    }

    void edges() const {
        for (const scene_part& part : parts) {
            if (!part.shape)
                continue;
            const block& b = *part.shape;
            glColor3d(0.0, 0.0, 0.0);
            glLineWidth(1.5f);
            glBegin(GL_LINES);
            for (const edge& e : b.edges) {
                vertex(b.vertices[e[0]], part.offset);
                vertex(b.vertices[e[1]], part.offset);
            }
            glEnd();
        }
    }
};

// From the recorded buffers, with the vertex array on only while they draw.
struct buffer_sender {
    const recorded_scene& scene;
    bool usable() const {
        return scene.vertex_buffer != 0 && scene.face_buffer != 0 && scene.edge_buffer != 0;
    }

    void tracers() const {
        if (!usable())
            return;
        glBindBuffer(GL_ARRAY_BUFFER, scene.vertex_buffer);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        glEnableClientState(GL_VERTEX_ARRAY);
        glDrawArrays(GL_POINTS, scene.tracer_first, scene.tracer_count);
    }

    void faces() const {
        if (!usable())
            return;
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, scene.face_buffer);
        glDrawElements(GL_TRIANGLES, scene.face_indices, GL_UNSIGNED_INT, nullptr);
    }

    void edges() const {
        if (!usable())
            return;
        glColor3d(0.0, 0.0, 0.0);
        glLineWidth(1.5f);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, scene.edge_buffer);
        glDrawElements(GL_LINES, scene.edge_indices, GL_UNSIGNED_INT, nullptr);
        glDisableClientState(GL_VERTEX_ARRAY);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
};

template <class T> unsigned buffer_of(GLenum target, const std::vector<T>& data) {
    GLuint name = 0;
    glGenBuffers(1, &name);
    glBindBuffer(target, name);
    glBufferData(target, static_cast<GLsizeiptr>(data.size() * sizeof(T)), data.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(target, 0);
    return name;
}

void push_point(std::vector<float>& points, const vec3& p, const offset3& offset) {
    for (int k = 0; k < 3; ++k)
        points.push_back(static_cast<float>(p[k] + offset[k]));
}

} // namespace

void apply_fixed_state(const std::array<float, 4>& clear_color) {
    glClearColor(clear_color[0], clear_color[1], clear_color[2], clear_color[3]);
    glEnable(GL_DEPTH_TEST);
}

void apply_camera(const view_state& view, const depth_range& planes) {
    glViewport(0, 0, view.ww, view.hh);
    glLoadIdentity();
    gluPerspective(field_of_view_degrees,
                   static_cast<double>(view.ww) / static_cast<double>(view.hh), planes.near_plane,
                   planes.far_plane);
    gluLookAt(view.view_point[0], view.view_point[1], view.view_point[2], 0.0, 0.0, 0.0,
              view.view_upward[0], view.view_upward[1], view.view_upward[2]);
}

void clear_frame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void draw_scene(const std::vector<scene_part>& parts) {
    draw_frame(immediate_sender{parts});
}

recorded_scene record_scene(const std::vector<scene_part>& parts) {
    std::vector<float> points; // x, y, z of the blocks' vertices, then of the tracers
    std::vector<std::uint32_t> faces, edges;
    for (const scene_part& part : parts) {
        if (!part.shape)
            continue;
        const block& b = *part.shape;
        const auto first = static_cast<std::uint32_t>(points.size() / 3);
        for (const vec3& v : b.vertices)
            push_point(points, v, part.offset);
        // A convex polygon as GL fills it: the fan about its first corner.
        for (const face& f : b.faces)
            for (std::size_t k = 1; k + 1 < f.indices.size(); ++k)
                for (int corner : {f.indices[0], f.indices[k], f.indices[k + 1]})
                    faces.push_back(first + static_cast<std::uint32_t>(corner));
        for (const edge& e : b.edges)
            for (int end : e)
                edges.push_back(first + static_cast<std::uint32_t>(end));
    }
    recorded_scene scene;
    while (glGetError() != GL_NO_ERROR) {
    }
    scene.tracer_first = static_cast<int>(points.size() / 3);
    for (const scene_part& part : parts)
        if (part.tracers)
            for (const vec3& p : *part.tracers)
                push_point(points, p, part.offset);
    scene.tracer_count = static_cast<int>(points.size() / 3) - scene.tracer_first;
    scene.face_indices = static_cast<int>(faces.size());
    scene.edge_indices = static_cast<int>(edges.size());
    scene.vertex_buffer = buffer_of(GL_ARRAY_BUFFER, points);
    scene.face_buffer = buffer_of(GL_ELEMENT_ARRAY_BUFFER, faces);
    scene.edge_buffer = buffer_of(GL_ELEMENT_ARRAY_BUFFER, edges);
    scene.bytes = points.size() * sizeof(float) + (faces.size() + edges.size()) * 4;
    if (glGetError() == GL_OUT_OF_MEMORY) {
        delete_scene(scene);
        return {};
    }
    return scene;
}

void replay_scene(const recorded_scene& scene) {
    draw_frame(buffer_sender{scene});
}

void delete_scene(const recorded_scene& scene) {
    const GLuint names[3] = {scene.vertex_buffer, scene.face_buffer, scene.edge_buffer};
    glDeleteBuffers(3, names);
}
