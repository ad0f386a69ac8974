// Opens the real viewer window on a cube and a few tracers, for the smoke test under Xvfb.
// Without arguments it runs GLUT's own loop; with --pump it drives the window from
// a poll() loop on viewer_event_fd, as another toolkit's event loop would. Prints a line from an
// exit handler so the test can see that the program ended through the normal exit path.
#include "glut_data_manager.hpp"
#include "test_cube.hpp"
#include "viewer_window.hpp"

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
    glut_data_manager& data = glut_data_manager::get_instance();
    data.blocks = {test_cube(100)};
    data.tracers = {make_vec3(-200, -250, 0), make_vec3(0, 0, 300)};

    if (argc > 1 && std::string(argv[1]) == "--pump") {
        if (!open_viewer_window(options))
            return 2;
        const int fd = viewer_event_fd();
        if (fd < 0)
            return 3;
        for (;;) {
            pump_viewer_events();
            pollfd watch{fd, POLLIN, 0};
            poll(&watch, 1, -1);
        }
    }
    if (!open_viewer_window(options))
        return 2;
    glutMainLoop();
    return 0;
}
