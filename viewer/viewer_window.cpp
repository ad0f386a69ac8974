#include "viewer/viewer_window.hpp"

#include "view_math/camera_fit.hpp"
#include "viewer/glut_callbacks.hpp"
#include "viewer/scene_drawing.hpp"

#include <GL/freeglut.h>
#include <GL/freeglut_ucall.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <memory>

namespace {

// A connection to the display, closed with the object; empty when the display cannot be reached.
using display_connection = std::unique_ptr<Display, decltype(&XCloseDisplay)>;

void initialise_glut() {
    int argc = 1;
    char program_name[] = "myglut";
    char* argv[] = {program_name, nullptr};
    glutInit(&argc, argv);
    // Closing the window hands control back to whoever drives the viewer.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
}

} // namespace

bool open_viewer_window(viewer_session& session, viewer_scenes scenes,
                        const view_options& options) {
    if (session.window != 0)
        return true;
    if (glutGet(GLUT_INIT_STATE) == 0) {
        // freeglut ends the process when it cannot reach the display, so ask first. The probe
        // stays connected until GLUT has its own connection: a server that resets when its last
        // client leaves would otherwise be resetting just as GLUT connects.
        const display_connection probe(XOpenDisplay(nullptr), &XCloseDisplay);
        if (!probe)
            return false;
        initialise_glut();
    }

    start_session(session, std::move(scenes), options);
    const view_state& view = session.state.view;
    glutInitWindowPosition(100, 100);
    glutInitWindowSize(view.ww, view.hh);
    session.window = glutCreateWindow("tolvex");
    void* data = &session;
    glutDisplayFuncUcall(display, data);
    glutReshapeFuncUcall(resize, data);
    glutKeyboardFuncUcall(keyboard, data);
    glutSpecialFuncUcall(special_keyboard, data);
    glutMouseFuncUcall(mouse, data);
    glutCloseFuncUcall(closed, data);
    session.frames.forget();
    apply_fixed_state(options.clear_color);
    session.display = glXGetCurrentDisplay();
    return true;
}

void close_viewer_window(viewer_session& session) {
    if (session.window == 0)
        return;
    session.on_closed = nullptr;
    glutDestroyWindow(session.window);
    // freeglut destroys windows, calling closed, when its loop next runs.
    glutMainLoopEvent();
}

int viewer_event_fd(const viewer_session& session) {
    return session.display ? ConnectionNumber(static_cast<Display*>(session.display)) : -1;
}

void pump_viewer_events(viewer_session& session) {
    if (!session.display)
        return;
    // Handling events can pull further ones from the socket into Xlib's queue, where a socket
    // watcher would not see them; keep going until the queue is empty.
    do
        glutMainLoopEvent();
    while (XPending(static_cast<Display*>(session.display)) > 0);
}
