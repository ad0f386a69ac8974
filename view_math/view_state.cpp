#include "view_math/view_state.hpp"

#include "geometry/vector_utils.hpp"

#include <cmath>

namespace {

vec3 widen(const vec3f& v) {
    return make_vec3(v[0], v[1], v[2]);
}

vec3f narrow(const vec3& v) {
    vec3f out(3);
    for (int i = 0; i < 3; ++i)
        out[i] = static_cast<float>(v[i]);
    return out;
}

// Eye and up direction turned by R given in view-frame coordinates, each product into a fresh
// vector.
vec3f turn(const view_state& view, const mat3f& R, const vec3f& v) {
    using boost::numeric::ublas::prod;
    const vec3f in_view = prod(view.Q_to_view, v);
    const vec3f turned = prod(R, in_view);
    return prod(view.Q_from_view, turned);
}

mat3f identity3() {
    mat3f m = boost::numeric::ublas::zero_matrix<float>(3, 3);
    for (int i = 0; i < 3; ++i)
        m(i, i) = 1.0f;
    return m;
}

// A turn by a within the plane of view axis 0 (towards the eye) and view axis k.
mat3f turn_in_plane(int k, float a) {
    mat3f R = identity3();
    R(0, 0) = std::cos(a);
    R(0, k) = std::sin(a);
    R(k, 0) = -std::sin(a);
    R(k, k) = std::cos(a);
    return R;
}

// eye moved along its line of sight into the zoom's range about start_distance (none when 0).
vec3f within_zoom_range(const vec3f& eye, float start_distance) {
    const float distance = boost::numeric::ublas::norm_2(eye);
    const float nearest = start_distance * zoom_nearest;
    const float farthest = start_distance * zoom_farthest;
    if (start_distance <= 0.0f || (distance >= nearest && distance <= farthest))
        return eye;
    return eye * ((distance < nearest ? nearest : farthest) / distance);
}

// Whether the eye already stands at the end of the zoom's range that scale moves it towards.
bool at_zoom_end(const view_state& view, float scale) {
    const float distance = boost::numeric::ublas::norm_2(view.view_point);
    const float slack = 1.0f + 1e-5f;
    return view.start_distance > 0.0f &&
           ((scale < 1.0f && distance <= view.start_distance * zoom_nearest * slack) ||
            (scale > 1.0f && distance * slack >= view.start_distance * zoom_farthest));
}

} // namespace

vec3f make_vec3f(float x, float y, float z) {
    vec3f v(3);
    v[0] = x;
    v[1] = y;
    v[2] = z;
    return v;
}

view_state reorient(view_state view) {
    const vec3 e1 = normalize_vector(widen(view.view_point));
    const vec3 e2 = normalize_vector(cross_prod3(widen(view.view_upward), e1));
    const vec3 e3 = normalize_vector(cross_prod3(e1, e2));
    view.view_e1 = narrow(e1);
    view.view_e2 = narrow(e2);
    view.view_e3 = narrow(e3);
    for (int r = 0; r < 3; ++r) {
        view.Q_from_view(r, 0) = view.view_e1[r];
        view.Q_from_view(r, 1) = view.view_e2[r];
        view.Q_from_view(r, 2) = view.view_e3[r];
    }
    view.Q_to_view = boost::numeric::ublas::trans(view.Q_from_view);
    return view;
}

view_state initial_view(view_state view, const xyz& eye) {
    vec3f point = make_vec3f(static_cast<float>(eye[0]), static_cast<float>(eye[1]),
                             static_cast<float>(eye[2]));
    const bool usable = std::isfinite(point[0]) && std::isfinite(point[1]) &&
                        std::isfinite(point[2]) &&
                        (point[0] != 0.0f || point[1] != 0.0f || point[2] != 0.0f);
    if (!usable)
        point = make_vec3f(static_cast<float>(default_view_point[0]),
                           static_cast<float>(default_view_point[1]),
                           static_cast<float>(default_view_point[2]));
    view.view_point = point;
    view.start_distance = boost::numeric::ublas::norm_2(point);
    if (point[0] == 0.0f && point[1] == 0.0f)
        view.view_upward = make_vec3f(0.0f, point[2] > 0.0f ? 1.0f : -1.0f, 0.0f);
    else
        view.view_upward = make_vec3f(0.0f, 0.0f, 1.0f);
    return reorient(view);
}

int window_extent(int pixels) {
    return pixels < 1 ? 1 : pixels;
}

std::optional<view_state> wheel_view(const view_state& view, int notches) {
    const float scale = std::pow(0.8f, static_cast<float>(notches));
    if (notches == 0 || at_zoom_end(view, scale))
        return std::nullopt;
    view_state next = view;
    next.view_point = within_zoom_range(view.view_point * scale, view.start_distance);
    return reorient(next);
}

std::optional<view_state> drag_view(const view_state& view, int modifiers, int x, int y) {
    const int x0 = view.drag_start[0];
    const int y0 = view.drag_start[1];
    const float ww = static_cast<float>(window_extent(view.ww));
    const float hh = static_cast<float>(window_extent(view.hh));
    const float pi_f = static_cast<float>(pi);

    mat3f R = identity3();
    float scale = 1.0f;
    int d = 0;
    if (modifiers == 0) {
        d = y - y0;
        scale = std::pow(2.0f, static_cast<float>(d) / hh * 2.0f);
    } else if (modifiers == modifier_shift) {
        d = x - x0;
        R = turn_in_plane(1, pi_f * static_cast<float>(d) / ww);
    } else if (modifiers == modifier_ctrl) {
        d = y0 - y;
        R = turn_in_plane(2, pi_f * static_cast<float>(d) / hh);
    }
    if (d == 0 || (modifiers == 0 && at_zoom_end(view, scale)))
        return std::nullopt;

    view_state next = view;
    next.view_point =
        within_zoom_range(turn(view, R, view.view_point) * scale, view.start_distance);
    next.view_upward = turn(view, R, view.view_upward);
    return reorient(next);
}
