// The 3-D viewer window (freeglut) and the hooks that let another event loop drive it.
#pragma once

#include "viewer/viewer_session.hpp"

// Opens the viewer window on session's scenes (see start_session) with the background, start
// eye and modes of options, and returns at once instead of entering GLUT's loop, so the caller's
// event loop can drive it. When the start view does not show the whole model, the session's note
// names an eye that does. "q", Esc and closing the window close it and call session.on_closed;
// the session can open a window again after that. Returns false when no window could be opened
// (checked before GLUT starts, so a missing display does not end the process); true without a
// second window while one is open.
bool open_viewer_window(viewer_session& session, viewer_scenes scenes, const view_options& options);

// Closes session's window, if one is open, without calling session.on_closed: for an owner that
// is going away.
void close_viewer_window(viewer_session& session);

// A file descriptor that becomes readable when the viewer has events to handle; -1 when none.
int viewer_event_fd(const viewer_session& session);

// Handles every event the viewer has pending, including those already read from the connection
// and timers that are due, then returns. Call it once right after open_viewer_window and then
// whenever viewer_event_fd is readable (and every few milliseconds while it plays).
void pump_viewer_events(viewer_session& session);
