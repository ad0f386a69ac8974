// The viewer window's one view state and the routines that act on it and on the window's GL
// context: the callbacks registered with GLUT and the two it shares with them.
#pragma once

#include "scene_parts.hpp"
#include "view_state.hpp"

// The view the window shows (one per program).
view_state& current_view();

// The background and start eye the window uses (one per program), set when it opens.
view_options& current_view_options();

// Called once the window and its GL context exist; until then resize only stores the size.
void mark_window_open();

// The box around every step of glut_data_manager's histories.
const scene_box& window_scene_box();

// Start view from the eye of current_view_options, applied to the camera; does not redraw.
void initialize_view();

// The background colour of current_view_options and depth testing.
void init();

// Reshape: stores the window size (an extent of 0 counts as 1) and applies the camera, with
// depth planes that hold the whole scene.
void resize(int w, int h);

// "i" resets the view and redraws; Esc and "q" end the program with status 0; "n" and "p" step
// forward and back through the run shown, "r" switches between the forward and restoration runs.
void keyboard(unsigned char key, int x, int y);

// Page Down and Page Up step forward and back, Home and End go to the first and last step.
void special_keyboard(int key, int x, int y);

// Draws the shown step of glut_data_manager's histories with its label and shows the frame.
void display();

// Left-button drags: plain zooms, Shift turns about the screen's vertical, Ctrl about its
// horizontal; the view changes on release and is drawn at once.
void mouse(int button, int state, int x, int y);
