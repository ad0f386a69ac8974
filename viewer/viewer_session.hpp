// One viewer and all it holds: the scenes its owner handed over, the view and modes the keys
// change and the frames recorded in its window. The owner keeps it for as long as a window or a
// timer may refer to it; the window's callbacks reach it through GLUT's user data.
#pragma once

#include "config/view_options.hpp"
#include "view_math/scene_history.hpp"
#include "view_math/viewer_controls.hpp"
#include "viewer/recorded_frames.hpp"

#include <functional>
#include <string>

// What a run gives the viewer to show.
struct viewer_scenes {
    scene_history restored;   // the restoration run, from the centred boundary to its last step
    scene_history forward;    // the forward run; the viewer opens on its last step
    std::string picture_base; // "s" saves pictures as picture_path(picture_base, ...)
};

// Recorded frames kept up to this many bytes of buffers.
constexpr std::size_t recorded_byte_budget = 256u << 20;

struct viewer_session {
    viewer_scenes scenes;
    view_options options; // background, start eye (framed when needed) and the modes at opening
    viewer_state state;
    scene_box box;    // around every step of both runs
    std::string note; // shown above the step label: a hint or where a picture went
    recorded_frames frames{recorded_byte_budget};
    shape_windings restored_windings; // of scenes.restored's shapes, as frames have found them
    shape_windings forward_windings;  // of scenes.forward's
    int window = 0;                   // the GLUT window; 0 while none is open
    unsigned playback = 0;            // counts playbacks, so a timer of an earlier one does nothing
    void* display = nullptr;          // the X connection GLUT uses, once it has one
    std::function<void()> on_closed;  // called when the window has closed
};

// The history of the run state shows.
const scene_history& shown_history(const viewer_session& session);
// The windings of its shapes.
shape_windings& shown_windings(viewer_session& session);

// Puts scenes into session, with the view, steps and modes a newly opened viewer starts with
// (each run at its last step, the forward run shown; start_modes of options' modes) and the box
// around both runs. When options' eye does not show both runs whole, the session starts (and
// "i" returns) framed from the same direction, and its note says why.
void start_session(viewer_session& session, viewer_scenes scenes, const view_options& options);
