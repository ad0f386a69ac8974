#include "viewer_window.hpp"

#include "camera_fit.hpp"
#include "glut_callbacks.hpp"
#include "glut_data_manager.hpp"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <memory>

namespace {

// The viewer's X connection, known once the window is open.
Display* viewer_display = nullptr;

// A connection to the display, closed with the object; empty when the display cannot be reached.
using display_connection = std::unique_ptr<Display, decltype(&XCloseDisplay)>;

} // namespace

bool open_viewer_window(const view_options& options) {
    if (viewer_display)
        return true;
    // freeglut ends the process when it cannot reach the display, so ask first. The probe stays
    // connected until GLUT has its own connection: a server that resets when its last client
    // leaves would otherwise be resetting just as GLUT connects.
    const display_connection probe(XOpenDisplay(nullptr), &XCloseDisplay);
    if (!probe)
        return false;

    current_view_options() = options;
    initialize_view();
    const view_state& view = current_view();
    const glut_data_manager& data = glut_data_manager::get_instance();
    const scene_box& box = window_scene_box();
    if (!box.empty() &&
        !(shows_whole(view, box, data.forward) && shows_whole(view, box, data.restored)))
        std::fprintf(stderr, "tolvex: %s\n", start_view_advice(view, box).c_str());
    glutInitWindowPosition(100, 100);
    glutInitWindowSize(view.ww, view.hh);
    int argc = 1;
    char program_name[] = "myglut";
    char* argv[] = {program_name, nullptr};
    glutInit(&argc, argv);
    // Closing the window ends the program through exit(0), so exit handlers run.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("tolvex");
    glutDisplayFunc(display);
    glutReshapeFunc(resize);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(special_keyboard);
    glutMouseFunc(mouse);
    mark_window_open();
    init();
    viewer_display = glXGetCurrentDisplay();
    return true;
}

int viewer_event_fd() {
    return viewer_display ? ConnectionNumber(viewer_display) : -1;
}

void pump_viewer_events() {
    if (!viewer_display)
        return;
    // Handling events can pull further ones from the socket into Xlib's queue, where a socket
    // watcher would not see them; keep going until the queue is empty.
    do
        glutMainLoopEvent();
    while (XPending(viewer_display) > 0);
}
