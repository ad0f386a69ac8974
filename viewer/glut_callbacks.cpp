// glWindowPos (OpenGL 1.4) places the label in window pixels.
#define GL_GLEXT_PROTOTYPES

#include "glut_callbacks.hpp"

#include "camera_fit.hpp"
#include "glut_data_manager.hpp"
#include "recorded_frames.hpp"
#include "scene_drawing.hpp"
#include "step_state.hpp"

#include <GL/freeglut.h>

#include <cstdlib>

static_assert(modifier_shift == GLUT_ACTIVE_SHIFT && modifier_ctrl == GLUT_ACTIVE_CTRL &&
              modifier_alt == GLUT_ACTIVE_ALT);
static_assert(key_page_up == GLUT_KEY_PAGE_UP && key_page_down == GLUT_KEY_PAGE_DOWN &&
              key_home == GLUT_KEY_HOME && key_end == GLUT_KEY_END);

namespace {

bool window_exists = false;

// Recorded frames kept up to this many bytes of buffers: a step of 70,000 blocks takes about 22 MB.
constexpr std::size_t recorded_byte_budget = 256u << 20;

// What the window shows of glut_data_manager's histories, and the frames recorded from them.
struct window_scene {
    std::uint64_t revision = 0;
    step_state steps;
    scene_box box;
    recorded_frames frames{recorded_byte_budget};
};

// The window's scene, brought up to date with the data: new histories start both runs at their
// last step and drop what was recorded from the old ones.
window_scene& synced_scene() {
    static window_scene scene;
    const glut_data_manager& data = glut_data_manager::get_instance();
    if (scene.revision != data.revision) {
        scene.revision = data.revision;
        scene.steps = start_steps(data.restored.steps.size(), data.forward.steps.size());
        scene.box = scene_box();
        add_history(scene.box, data.restored);
        add_history(scene.box, data.forward);
        if (window_exists)
            scene.frames.clear();
        else
            scene.frames.forget();
    }
    return scene;
}

const scene_history& shown_history(const step_state& steps) {
    const glut_data_manager& data = glut_data_manager::get_instance();
    return steps.run == shown_run::forward ? data.forward : data.restored;
}

// The step's label in the lower left corner, black on a light background and white on a dark.
void draw_label(const std::string& text) {
    const std::array<float, 4>& bg = current_view_options().clear_color;
    const float shade = 0.299f * bg[0] + 0.587f * bg[1] + 0.114f * bg[2] > 0.5f ? 0.0f : 1.0f;
    glDisable(GL_DEPTH_TEST);
    glColor3f(shade, shade, shade);
    glWindowPos2i(8, 8);
    glutBitmapString(GLUT_BITMAP_9_BY_15, reinterpret_cast<const unsigned char*>(text.c_str()));
    glEnable(GL_DEPTH_TEST);
}

void press(step_key key) {
    window_scene& scene = synced_scene();
    if (auto next = press_step_key(scene.steps, key)) {
        scene.steps = *next;
        display();
    }
}

} // namespace

void mark_window_open() {
    window_exists = true;
    synced_scene().frames.forget();
}

view_state& current_view() {
    static view_state view;
    return view;
}

view_options& current_view_options() {
    static view_options options;
    return options;
}

const scene_box& window_scene_box() {
    return synced_scene().box;
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
        apply_camera(view, depth_planes(view, synced_scene().box));
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
        if (auto step = step_key_for(key))
            press(*step);
        break;
    }
}

void special_keyboard(int key, int, int) {
    if (auto step = step_key_for_special(key))
        press(*step);
}

void display() {
    window_scene& scene = synced_scene();
    clear_frame();
    const scene_history& history = shown_history(scene.steps);
    if (history.steps.empty()) {
        draw_scene({});
    } else {
        const std::size_t step = shown_step(scene.steps);
        const std::size_t key = 2 * step + static_cast<std::size_t>(scene.steps.run);
        replay_scene(scene.frames.frame_for(key, [&] { return step_parts(history, step); }));
        draw_label(history.steps[step].label);
    }
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
