#include "scene_drawing.hpp"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

void draw_axes() {
    const double colours[3][3] = {{0.6, 0.6, 0.9}, {0.6, 0.9, 0.6}, {0.9, 0.6, 0.6}};
    glBegin(GL_LINES);
    for (int i = 0; i < 3; ++i) {
        glColor3d(colours[i][0], colours[i][1], colours[i][2]);
        glVertex3d(axis_origin[0], axis_origin[1], axis_origin[2]);
        glVertex3dv(axis_ends[i].data());
    }
    glEnd();
}

void draw_tracers(const point_list& tracers) {
    glColor3d(0.0, 1.0, 0.1);
    glPointSize(3.0f);
    glBegin(GL_POINTS);
    for (const vec3& p : tracers)
        glVertex3f(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
    glEnd();
}

void draw_faces(const std::vector<block>& blocks) {
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    glColor3d(1.0, 1.0, 1.0);
    for (const block& b : blocks) {
        for (const face& f : b.faces) {
            glBegin(GL_POLYGON);
            glNormal3d(f.normal[0], f.normal[1], f.normal[2]);
            for (int index : f.indices)
                glVertex3dv(&b.vertices[index][0]);
            glEnd();
        }
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void draw_edges(const std::vector<block>& blocks) {
    for (const block& b : blocks) {
        glColor3d(0.0, 0.0, 0.0);
        glLineWidth(1.5f);
        glBegin(GL_LINES);
        for (const edge& e : b.edges) {
            glVertex3dv(&b.vertices[e[0]][0]);
            glVertex3dv(&b.vertices[e[1]][0]);
        }
        glEnd();
    }
}

} // namespace

void apply_fixed_state(const std::array<float, 4>& clear_color) {
    glClearColor(clear_color[0], clear_color[1], clear_color[2], clear_color[3]);
    glEnable(GL_DEPTH_TEST);
}

void apply_camera(const view_state& view) {
    glViewport(0, 0, view.ww, view.hh);
    glLoadIdentity();
    gluPerspective(30.0, static_cast<double>(view.ww) / static_cast<double>(view.hh), 1.0, 5000.0);
    gluLookAt(view.view_point[0], view.view_point[1], view.view_point[2], 0.0, 0.0, 0.0,
              view.view_upward[0], view.view_upward[1], view.view_upward[2]);
}

void draw_scene(const std::vector<block>& blocks, const point_list& tracers) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLineWidth(1.0f);
    glPointSize(1.0f);
    glLineWidth(2.0f);
    draw_axes();
    draw_tracers(tracers);
    draw_faces(blocks);
    draw_edges(blocks);
}
