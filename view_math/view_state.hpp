// The viewer's camera state and the pure view math on it: the start view, the view frame derived
// from eye and up direction, and the change a finished mouse drag makes. No window or GL needed.
#pragma once

#include "config/view_options.hpp"

#include <boost/numeric/ublas/matrix.hpp>
#include <boost/numeric/ublas/vector.hpp>

#include <array>
#include <optional>

using vec3f = boost::numeric::ublas::bounded_vector<float, 3>;
using mat3f = boost::numeric::ublas::bounded_matrix<float, 3, 3>;

// (x, y, z) as a vec3f.
vec3f make_vec3f(float x, float y, float z);

// Modifier bits as the windowing library reports them (Shift 1, Ctrl 2, Alt 4).
enum modifier_bits : int { modifier_shift = 1, modifier_ctrl = 2, modifier_alt = 4 };

// The axis lines start at origin and end at the rows of axis.
constexpr xyz axis_origin{0.0, 0.0, 0.0};
constexpr std::array<xyz, 3> axis_ends{{{150.0, 0.0, 0.0}, {0.0, 150.0, 0.0}, {0.0, 0.0, 150.0}}};

struct view_state {
    vec3f view_point = boost::numeric::ublas::zero_vector<float>(3);
    vec3f view_upward = boost::numeric::ublas::zero_vector<float>(3);
    vec3f view_e1 = boost::numeric::ublas::zero_vector<float>(3); // from the origin towards the eye
    vec3f view_e2 = boost::numeric::ublas::zero_vector<float>(3); // right on the screen
    vec3f view_e3 = boost::numeric::ublas::zero_vector<float>(3); // up on the screen
    mat3f Q_from_view =
        boost::numeric::ublas::zero_matrix<float>(3, 3); // columns e1, e2, e3: view frame to model
    mat3f Q_to_view =
        boost::numeric::ublas::zero_matrix<float>(3, 3); // its transpose: model to view frame
    float start_distance = 0.0f; // of the start eye from the origin; the zoom's range follows it
    std::array<int, 2> drag_start{0, 0};
    int ww = 640;
    int hh = 480;
};

// view_e1..3 and both matrices recomputed (in double precision) from view_point and view_upward.
view_state reorient(view_state view);

// The zoom keeps the eye's distance from the origin within these multiples of start_distance:
// far inside the range of floats, so every zoom can be undone and the eye never reaches the origin.
constexpr float zoom_nearest = 1e-3f;
constexpr float zoom_farthest = 1e7f;

// The start view from eye with up direction +z, keeping the window size of view. An eye at the
// origin is replaced by default_view_point; an eye on the vertical axis looks with up direction
// +y from above and -y from below, so the model's +x still points right on the screen.
view_state initial_view(view_state view, const xyz& eye);

// A window size as the camera uses it: a zero (or negative) extent counts as 1 pixel.
int window_extent(int pixels);

// The view after the left button is released at (x, y) with modifiers held, the drag having
// started at view.drag_start. No value when the release changes nothing (also when the zoom is
// already at the end of its range).
std::optional<view_state> drag_view(const view_state& view, int modifiers, int x, int y);

// The view after notches of the mouse wheel: each towards the model (positive) brings the eye a
// fifth closer, each away undoes one. No value at the end of the zoom's range.
std::optional<view_state> wheel_view(const view_state& view, int notches);
