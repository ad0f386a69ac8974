#include "camera_fit.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

constexpr double degree = 3.14159265358979 / 180.0;

// Scale factors that keep the planes clear of the sphere they enclose.
constexpr double plane_margin = 1e-3;

std::array<double, 3> eye_of(const view_state& view) {
    return {view.view_point[0], view.view_point[1], view.view_point[2]};
}

double length(const std::array<double, 3>& v) {
    return std::hypot(v[0], v[1], v[2]);
}

std::array<double, 3> corner(const scene_box& box, int k) {
    return {k & 1 ? box.hi[0] : box.lo[0], k & 2 ? box.hi[1] : box.lo[1],
            k & 4 ? box.hi[2] : box.lo[2]};
}

// Half the field of view up and across, as tangents.
std::array<double, 2> half_field_tangents(const view_state& view) {
    const double up = std::tan(field_of_view_degrees / 2 * degree);
    return {up * window_extent(view.ww) / window_extent(view.hh), up};
}

bool in_view(const view_state& view, const depth_range& planes, const std::array<double, 3>& p) {
    const std::array<double, 3> eye = eye_of(view);
    double x = 0, y = 0, depth = 0;
    for (int k = 0; k < 3; ++k) {
        const double d = p[k] - eye[k];
        x += d * view.view_e2[k];
        y += d * view.view_e3[k];
        depth -= d * view.view_e1[k];
    }
    const auto [across, up] = half_field_tangents(view);
    const double slack = 1e-9 * length(eye);
    return depth >= planes.near_plane - slack && depth <= planes.far_plane + slack &&
           std::abs(x) <= depth * across + slack && std::abs(y) <= depth * up + slack;
}

// x to about four significant digits of scale, as the shortest text that reads back the same
// (no locale).
std::string rounded_text(double x, double scale) {
    const double step = std::pow(10.0, std::floor(std::log10(scale)) - 3);
    const double r = std::round(x / step) * step;
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, r == 0.0 ? 0.0 : r).ptr;
    return std::string(buf, end);
}

} // namespace

depth_range depth_planes(const view_state& view, const scene_box& scene) {
    scene_box box = scene;
    add_point(box, make_vec3(axis_origin[0], axis_origin[1], axis_origin[2]));
    for (const auto& end : axis_ends)
        add_point(box, make_vec3(end[0], end[1], end[2]));

    // Depth counts along the line of sight: a point the view shows at distance r lies at least
    // r times the cosine of the angle to a corner of the view deep.
    const auto [across, up] = half_field_tangents(view);
    const double corner_cosine = 1.0 / std::sqrt(1.0 + across * across + up * up);
    const std::array<double, 3> eye = eye_of(view);
    std::array<double, 3> to_nearest{};
    for (int k = 0; k < 3; ++k)
        to_nearest[k] = std::clamp(eye[k], box.lo[k], box.hi[k]) - eye[k];
    const double front = length(to_nearest) * corner_cosine;
    double back = 0.0;
    for (int k = 0; k < 8; ++k) {
        std::array<double, 3> c = corner(box, k);
        for (int i = 0; i < 3; ++i)
            c[i] -= eye[i];
        back = std::max(back, length(c));
    }
    if (!std::isfinite(back) || (front >= fixed_near_plane && back <= fixed_far_plane))
        return {};
    depth_range planes;
    planes.far_plane = std::max(back * (1 + plane_margin), fixed_far_plane);
    planes.near_plane = front >= fixed_near_plane
                            ? front * (1 - plane_margin)
                            : std::max(front * (1 - plane_margin),
                                       std::min(fixed_near_plane, planes.far_plane * 1e-4));
    return planes;
}

bool shows_whole(const view_state& view, const depth_range& planes,
                 const std::vector<scene_part>& parts) {
    for (const scene_part& part : parts) {
        const auto shown = [&](const vec3& p) {
            return in_view(view, planes,
                           {p[0] + part.offset[0], p[1] + part.offset[1], p[2] + part.offset[2]});
        };
        if ((part.shape &&
             !std::all_of(part.shape->vertices.begin(), part.shape->vertices.end(), shown)) ||
            (part.tracers && !std::all_of(part.tracers->begin(), part.tracers->end(), shown)))
            return false;
    }
    return true;
}

bool shows_whole(const view_state& view, const scene_box& box, const scene_history& history) {
    const depth_range planes = depth_planes(view, box);
    for (std::size_t step = 0; step < history.steps.size(); ++step)
        if (!shows_whole(view, planes, step_parts(history, step)))
            return false;
    return true;
}

std::string start_view_advice(const view_state& view, const scene_box& box) {
    double reach = 0.0; // radius of a sphere about the origin that holds the whole box
    for (int k = 0; k < 8; ++k)
        reach = std::max(reach, length(corner(box, k)));

    // From distance D along the eye's direction the sphere fills at most the narrower half
    // field, and its front stays clear of the near plane.
    const auto [across, up] = half_field_tangents(view);
    const double half = std::atan(std::min(across, up));
    const double distance = std::max(reach / std::sin(half), reach + 2.0) * 1.01;
    const std::array<double, 3> eye = eye_of(view);
    const double eye_length = length(eye);
    std::string text = "the model does not fit in the start view; INITIAL_VIEW_POINT=";
    for (int k = 0; k < 3; ++k)
        text += (k ? ", " : "") + rounded_text(eye[k] / eye_length * distance, distance);
    return text + " shows it whole";
}
