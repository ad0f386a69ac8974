#include "viewer/glut_callbacks.hpp"

#include "io/input_error.hpp"
#include "io/png_file.hpp"
#include "view_math/camera_fit.hpp"
#include "view_math/frame_mesh.hpp"
#include "viewer/offscreen_render.hpp"
#include "viewer/scene_drawing.hpp"
#include "viewer/view_overlays.hpp"
#include "viewer/viewer_session.hpp"

#include <GL/freeglut.h>
#include <GL/freeglut_ucall.h>

static_assert(modifier_shift == GLUT_ACTIVE_SHIFT && modifier_ctrl == GLUT_ACTIVE_CTRL &&
              modifier_alt == GLUT_ACTIVE_ALT);
static_assert(key_page_up == GLUT_KEY_PAGE_UP && key_page_down == GLUT_KEY_PAGE_DOWN &&
              key_home == GLUT_KEY_HOME && key_end == GLUT_KEY_END && key_f1 == GLUT_KEY_F1);

namespace {

constexpr int wheel_towards = 3;
constexpr int wheel_away = 4;

viewer_session& session_of(void* data) {
    return *static_cast<viewer_session*>(data);
}

void apply_view_camera(const viewer_session& s) {
    apply_camera(s.state.view, depth_planes(s.state.view, s.box));
}

frame_mesh shown_mesh(viewer_session& s, std::size_t step) {
    const scene_history& history = shown_history(s);
    step_frame frame;
    step_parts(history, step, s.state.modes.fault_surfaces, frame, &shown_windings(s));
    return build_frame_mesh(
        frame.parts, s.state.modes,
        {step_plane(history, step), start_z_range(history), history.horizon_colours});
}

// Frames differ by step, run and the modes that change the arrays (not shading).
std::size_t frame_key(const viewer_state& state) {
    std::size_t key = shown_step(state.steps) * 2 + static_cast<std::size_t>(state.steps.run);
    key = key * 3 + static_cast<std::size_t>(state.modes.colouring);
    key = key * 3 + static_cast<std::size_t>(state.modes.tracers);
    key = key * 3 + static_cast<std::size_t>(state.modes.blocks);
    key = key * 2 + (state.modes.horizons ? 1 : 0);
    return key * 2 + (state.modes.fault_surfaces ? 1 : 0);
}

void draw_frame(viewer_session& s) {
    clear_frame();
    const scene_history& history = shown_history(s);
    const view_state& view = s.state.view;
    const bool cull = scene_in_front(view, s.box, depth_planes(view, s.box));
    std::vector<std::string> lines;
    if (history.steps.empty()) {
        draw_mesh({}, s.state.modes, cull);
    } else {
        const std::size_t step = shown_step(s.state.steps);
        const recorded_scene& frame =
            s.frames.frame_for(frame_key(s.state), [&] { return shown_mesh(s, step); });
        if (frame.buffer != 0)
            replay_scene(frame, s.state.modes, cull);
        else
            draw_mesh(shown_mesh(s, step), s.state.modes, cull); // buffers ran out: from memory
        lines.push_back(history.steps[step].label);
    }
    if (!s.note.empty())
        lines.push_back(s.note);
    if (s.state.overlays) {
        const guide_layout guides = guide_layout_of(view);
        draw_guide_lines(guides, view, s.options.clear_color);
        std::vector<tolvex::picture_text> texts = text_line_places(lines, view);
        texts.insert(texts.end(), guides.labels.begin(), guides.labels.end());
        draw_window_texts(texts, view, s.options.clear_color);
    }
    if (s.state.help)
        draw_help(help_lines(), s.state.view);
}

void save_picture(viewer_session& s) {
    const bool help = s.state.help;
    s.state.help = false; // the picture shows the model, not the key list over it
    draw_frame(s);
    s.state.help = help;
    const std::string path =
        picture_path(s.scenes.picture_base, s.state.steps.run, shown_step(s.state.steps));
    try {
        tolvex::write_png_file(path, tolvex::read_scene_pixels(s.state.view.ww, s.state.view.hh));
        s.note = "picture saved: " + path;
    } catch (const tolvex::output_error& e) {
        s.note = e.what();
    }
}

void playback_step(int playback, void* data) {
    viewer_session& s = session_of(data);
    if (s.window == 0 || static_cast<unsigned>(playback) != s.playback)
        return;
    if (playback_tick(s.state)) {
        glutSetWindow(s.window);
        glutPostRedisplay();
    }
    if (s.state.playing)
        glutTimerFuncUcall(playback_interval_ms, playback_step, playback, data);
}

view_eyes eyes_of(const viewer_session& s) {
    return {s.options.eye, s.box.empty() ? s.options.eye : whole_view_eye(s.state.view, s.box)};
}

void carry_out(viewer_session& s, viewer_effect effect) {
    switch (effect) {
    case viewer_effect::nothing:
        return;
    case viewer_effect::close:
        glutDestroyWindow(s.window);
        return;
    case viewer_effect::save_picture:
        save_picture(s);
        break;
    case viewer_effect::start_playback:
        ++s.playback;
        glutTimerFuncUcall(playback_interval_ms, playback_step, static_cast<int>(s.playback), &s);
        break;
    case viewer_effect::redraw:
        break;
    }
    apply_view_camera(s);
    glutPostRedisplay();
}

} // namespace

void resize(int w, int h, void* data) {
    viewer_session& s = session_of(data);
    s.state.view.ww = window_extent(w);
    s.state.view.hh = window_extent(h);
    apply_view_camera(s);
}

void keyboard(unsigned char key, int, int, void* data) {
    viewer_session& s = session_of(data);
    if (auto action = action_for_key(key))
        carry_out(s, apply_action(s.state, *action, eyes_of(s)));
}

void special_keyboard(int key, int, int, void* data) {
    viewer_session& s = session_of(data);
    if (auto action = action_for_special(key))
        carry_out(s, apply_action(s.state, *action, eyes_of(s)));
}

void display(void* data) {
    draw_frame(session_of(data));
    glutSwapBuffers();
}

void mouse(int button, int state, int x, int y, void* data) {
    const int modifiers = glutGetModifiers();
    viewer_session& s = session_of(data);
    view_state& view = s.state.view;
    // Without a wheel callback of its own, freeglut reports each notch as a press of button 3
    // (towards the model) or 4 (away), and its release.
    if ((button == wheel_towards || button == wheel_away) && state == GLUT_DOWN) {
        if (auto next = wheel_view(view, button == wheel_towards ? 1 : -1)) {
            view = *next;
            carry_out(s, viewer_effect::redraw);
        }
        return;
    }
    if (button != GLUT_LEFT_BUTTON)
        return;
    if (state == GLUT_DOWN) {
        view.drag_start = {x, y};
        return;
    }
    if (auto next = drag_view(view, modifiers, x, y)) {
        view = *next;
        carry_out(s, viewer_effect::redraw);
    }
}

void closed(void* data) {
    viewer_session& s = session_of(data);
    s.window = 0;
    s.state.playing = false;
    s.frames.forget();
    if (s.on_closed)
        s.on_closed();
}
