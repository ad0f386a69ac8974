// Fitting the camera to a scene of any size: the depth planes for the current eye and, when the
// start view does not show the whole scene, an eye that does. No GL needed.
#pragma once

#include "view_math/scene_history.hpp"
#include "view_math/scene_parts.hpp"
#include "view_math/view_state.hpp"

#include <string>

// The perspective: 30 degrees high, and the depth planes kept while the scene lies between them.
constexpr double field_of_view_degrees = 30.0;
constexpr double fixed_near_plane = 1.0;
constexpr double fixed_far_plane = 5000.0;

struct depth_range {
    double near_plane = fixed_near_plane;
    double far_plane = fixed_far_plane;
};

// The depth planes from the eye of view for a scene inside box (the axes are always added).
// While the box lies between the fixed planes: exactly those. Otherwise the far plane lies just
// behind the box's farthest corner and the near plane just before the least depth at which the
// view can show the box's nearest point, so nothing of the scene is cut away and the planes stay
// as close together as the scene allows. When the box comes closer than 1, the near plane lies
// there too, but not nearer than far / 10^4 (depth precision) nor beyond 1: it cuts away no more
// than the fixed plane did.
depth_range depth_planes(const view_state& view, const scene_box& box);

// Whether all of box lies beyond the near plane of planes as view sees it, the eye outside it: then
// the near plane cuts no block open, and what a closed block turns away from the eye lies behind
// what it turns to it.
bool scene_in_front(const view_state& view, const scene_box& box, const depth_range& planes);

// Whether view, between planes, shows every vertex and tracer of parts.
bool shows_whole(const view_state& view, const depth_range& planes,
                 const std::vector<scene_part>& parts);

// Whether view, with the depth planes for box (which holds history), shows every step whole.
bool shows_whole(const view_state& view, const scene_box& box, const scene_history& history);

// An eye in the direction of view's from the origin from which all of box shows.
xyz whole_view_eye(const view_state& view, const scene_box& box);

// Advice for a scene inside box that view does not show whole: whole_view_eye as the setting
// that shows it.
std::string start_view_advice(const view_state& view, const scene_box& box);
