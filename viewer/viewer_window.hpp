// The 3-D viewer window (freeglut) and the hooks that let another event loop drive it.
#pragma once

#include "view_options.hpp"

// Opens the viewer window on the last forward step of glut_data_manager's histories with the
// background and start eye of options (and says on stderr which eye would show the model whole
// when the start view does not), and returns at once instead of entering GLUT's loop, so the
// caller's event loop can drive it; Esc, "q" and closing the window end the program (exit status
// 0). Returns false when no window could be opened (checked before GLUT starts, so a missing
// display does not end the process). A second call returns true.
bool open_viewer_window(const view_options& options);

// A file descriptor that becomes readable when the viewer has events to handle; -1 when none.
int viewer_event_fd();

// Handles every event the viewer has pending, including those already read from the connection,
// then returns. Call it once right after open_viewer_window and then whenever viewer_event_fd is
// readable.
void pump_viewer_events();
