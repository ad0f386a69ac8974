// The viewer window's GLUT callbacks. Each receives its viewer_session as GLUT's user data and
// works on that alone.
#pragma once

// Reshape: stores the window size (an extent of 0 counts as 1) and applies the camera, with
// depth planes that hold the whole scene.
void resize(int w, int h, void* session);

// The keys of viewer_keys.hpp: "q" and Esc close the window, the others change the view, the
// step or the modes, save a picture or start playback.
void keyboard(unsigned char key, int x, int y, void* session);
void special_keyboard(int key, int x, int y, void* session);

// Draws the shown step with its label, the note, the guides and (when asked for) the help, and
// shows the frame.
void display(void* session);

// Left-button drags: plain zooms, Shift turns about the screen's vertical, Ctrl about its
// horizontal; the view changes on release and is drawn at once.
void mouse(int button, int state, int x, int y, void* session);

// The window has closed: its frames went with its context; tells the session's owner.
void closed(void* session);
