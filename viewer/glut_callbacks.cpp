#include "glut_callbacks.hpp"

#include "glut_data_manager.hpp"
#include "scene_drawing.hpp"

#include <GL/freeglut.h>

#include <cstdlib>

static_assert(modifier_shift == GLUT_ACTIVE_SHIFT && modifier_ctrl == GLUT_ACTIVE_CTRL &&
              modifier_alt == GLUT_ACTIVE_ALT);

namespace {
bool window_exists = false;
}

void mark_window_open() {
    window_exists = true;
}

view_state& current_view() {
    static view_state view;
    return view;
}

view_options& current_view_options() {
    static view_options options;
    return options;
}

void initialize_view() {
    view_state& view = current_view();
    view = initial_view(view, current_view_options().eye);
    resize(view.ww, view.hh);
}

void init() {
    apply_fixed_state(current_view_options().clear_color);
}

void resize(int w, int h) {
    view_state& view = current_view();
    view.ww = window_extent(w);
    view.hh = window_extent(h);
    // Before the window exists there is no context to take the camera; the first reshape brings it.
    if (window_exists)
        apply_camera(view);
}

void keyboard(unsigned char key, int, int) {
    switch (key) {
    case 'i':
        initialize_view();
        display();
        break;
    case 27:
    case 'q':
        std::exit(0);
    default:
        break;
    }
}

void display() {
    const glut_data_manager& data = glut_data_manager::get_instance();
    draw_scene(data.blocks, data.tracers);
    glutSwapBuffers();
}

void mouse(int button, int state, int x, int y) {
    const int modifiers = glutGetModifiers();
    if (button != GLUT_LEFT_BUTTON)
        return;
    view_state& view = current_view();
    if (state == GLUT_DOWN) {
        view.drag_start = {x, y};
        return;
    }
    if (auto next = drag_view(view, modifiers, x, y)) {
        view = *next;
        resize(view.ww, view.hh);
        display();
    }
}
