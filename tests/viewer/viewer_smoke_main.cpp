// Opens the real viewer window on a cube and a few tracers, for the smoke test under Xvfb; Page Up
// steps back to a picture with fewer white pixels.
// Without arguments it runs GLUT's own loop; with --pump it drives the window from a poll() loop
// on viewer_event_fd, as another toolkit's event loop would, until the window has closed. Either
// way closing the window hands control back and the program returns from main; it prints a line
// from an exit handler so the test can see that it ended through the normal exit path.
#include "tests/support/box.hpp"
#include "viewer/viewer_window.hpp"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <string>

int main(int argc, char** argv) {
    std::atexit([] {
        std::puts("exit handlers ran");
        std::fflush(stdout);
    });
    const view_options options;
    // The forward run: the cube alone, then with a second cube beside it (where it opens); the
    // restoration run: the cube alone.
    const point_list tracers{make_vec3(-200, -250, 0), make_vec3(0, 0, 300)};
    block beside = make_cube(60);
    for (vec3& v : beside.vertices)
        v[0] += 250;
    scene_history restored, forward;
    append_history_step(restored, {make_cube(100)}, tracers, "restored 0/0");
    append_history_step(forward, {make_cube(100)}, tracers, "forward 0/1");
    append_history_step(forward, {make_cube(100), beside}, tracers, "forward 1/1: 7 T");

    viewer_session session;
    if (!open_viewer_window(session, {restored, forward, "viewer_smoke"}, options))
        return 2;
    if (argc > 1 && std::string(argv[1]) == "--pump") {
        const int fd = viewer_event_fd(session);
        if (fd < 0)
            return 3;
        for (;;) {
            pump_viewer_events(session);
            if (session.window == 0)
                return 0;
            pollfd watch{fd, POLLIN, 0};
            poll(&watch, 1, -1);
        }
    }
    glutMainLoop();
    return 0;
}
