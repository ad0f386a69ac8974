#include "view_math/camera_fit.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

constexpr double degree = 3.14159265358979 / 180.0;

// Scale factors that keep the planes clear of the sphere they enclose.
constexpr double plane_margin = 1e-3;

xyz eye_of(const view_state& view) {
    return {view.view_point[0], view.view_point[1], view.view_point[2]};
}

double length(const xyz& v) {
    return std::hypot(v[0], v[1], v[2]);
}

xyz corner(const scene_box& box, int k) {
    return {k & 1 ? box.hi[0] : box.lo[0], k & 2 ? box.hi[1] : box.lo[1],
            k & 4 ? box.hi[2] : box.lo[2]};
}

// Half the field of view up and across, as tangents.
std::array<double, 2> half_field_tangents(const view_state& view) {
    const double up = std::tan(field_of_view_degrees / 2 * degree);
    return {up * window_extent(view.ww) / window_extent(view.hh), up};
}

// What a view shows between its depth planes, ready to test many points.
struct view_volume {
    view_volume(const view_state& view, const depth_range& depth)
        : eye(eye_of(view)), planes(depth), slack(1e-9 * length(eye)) {
        for (int k = 0; k < 3; ++k) {
            right[k] = view.view_e2[k];
            up[k] = view.view_e3[k];
            back[k] = view.view_e1[k];
        }
        tangents = half_field_tangents(view);
    }

    template <class Point> bool holds(const Point& p, const xyz& offset) const {
        const xyz d{p[0] + offset[0] - eye[0], p[1] + offset[1] - eye[1],
                    p[2] + offset[2] - eye[2]};
        const double x = dot(d, right), y = dot(d, up), depth = -dot(d, back);
        return depth >= planes.near_plane - slack && depth <= planes.far_plane + slack &&
               std::abs(x) <= depth * tangents[0] + slack &&
               std::abs(y) <= depth * tangents[1] + slack;
    }

    bool holds(const scene_part& part) const {
        const auto held = [&](const auto& p) { return holds(p, part.offset); };
        const auto all_held = [&](const auto* points) {
            return !points || std::all_of(points->begin(), points->end(), held);
        };
        return all_held(part.shape ? &part.shape->vertices : nullptr) && all_held(part.tracers) &&
               all_held(part.walls ? &part.walls->polygons.corners : nullptr) &&
               all_held(part.horizons ? &part.horizons->polygons.corners : nullptr);
    }

    xyz eye, right{}, up{}, back{};
    std::array<double, 2> tangents{};
    depth_range planes;
    double slack;
};

// The least depth at which view can show a point of box: depth counts along the line of sight,
// and a point the view shows at distance r lies at least r times the cosine of the angle to a
// corner of the view deep. 0 with the eye inside box.
double least_depth(const view_state& view, const scene_box& box) {
    const auto [across, up] = half_field_tangents(view);
    const double corner_cosine = 1.0 / std::sqrt(1.0 + across * across + up * up);
    const xyz eye = eye_of(view);
    xyz to_nearest{};
    for (int k = 0; k < 3; ++k)
        to_nearest[k] = std::clamp(eye[k], box.lo[k], box.hi[k]) - eye[k];
    return length(to_nearest) * corner_cosine;
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
    add_point(box, axis_origin);
    for (const xyz& end : axis_ends)
        add_point(box, end);

    const double front = least_depth(view, box);
    const xyz eye = eye_of(view);
    double back = 0.0;
    for (int k = 0; k < 8; ++k)
        back = std::max(back, length(minus(corner(box, k), eye)));
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

bool scene_in_front(const view_state& view, const scene_box& box, const depth_range& planes) {
    return box.empty() || least_depth(view, box) >= planes.near_plane;
}

bool shows_whole(const view_state& view, const depth_range& planes,
                 const std::vector<scene_part>& parts) {
    const view_volume volume(view, planes);
    return std::all_of(parts.begin(), parts.end(),
                       [&](const scene_part& part) { return volume.holds(part); });
}

bool shows_whole(const view_state& view, const scene_box& box, const scene_history& history) {
    const view_volume volume(view, depth_planes(view, box));
    // The volume is convex and box holds history: when box's corners show, all of it does.
    bool corners_shown = !box.empty();
    for (int k = 0; k < 8 && corners_shown; ++k) {
        const xyz c = corner(box, k);
        corners_shown = volume.holds(c, xyz{0.0, 0.0, 0.0});
    }
    if (corners_shown)
        return true;
    // Most blocks stand where they stood the step before: each place is looked at once.
    std::vector<std::uint32_t> looked_at(history.boxes.size(), UINT32_MAX);
    for (std::size_t step = 0; step < history.steps.size(); ++step) {
        // A block whose box shows needs no closer look at its points.
        for (const tolvex::placed_shape& piece : history.kept.steps[step].blocks) {
            if (looked_at[piece.shape] == piece.offset)
                continue;
            looked_at[piece.shape] = piece.offset;
            const xyz& offset = tolvex::offset_of(history.kept, piece);
            const scene_box& shape_box = history.boxes[piece.shape];
            bool box_shown = !shape_box.empty();
            for (int k = 0; k < 8 && box_shown; ++k) {
                const xyz c = corner(shape_box, k);
                box_shown = volume.holds(make_vec3(c[0], c[1], c[2]), offset);
            }
            if (box_shown)
                continue;
            const block_view shape = tolvex::shape_of(history.kept, piece.shape);
            const std::span<const vec3> slots = shape_tracers(history, piece.shape);
            const point_list tracers(slots.begin(), slots.end());
            fault_surfaces walls;
            add_fault_surfaces(shape, 0, walls);
            scene_part part{.tracers = &tracers, .offset = offset, .walls = &walls};
            if (history.blocks_shown)
                part.shape = shape;
            if (!volume.holds(part))
                return false;
        }
        if (!volume.holds(scene_part{.tracers = &history.steps[step].loose_tracers,
                                     .horizons = &history.kept.steps[step].horizons}))
            return false;
    }
    return true;
}

xyz whole_view_eye(const view_state& view, const scene_box& box) {
    double reach = 0.0; // radius of a sphere about the origin that holds the whole box
    for (int k = 0; k < 8; ++k)
        reach = std::max(reach, length(corner(box, k)));

    // From distance D along the eye's direction the sphere fills at most the narrower half
    // field, and its front stays clear of the near plane.
    const auto [across, up] = half_field_tangents(view);
    const double half = std::atan(std::min(across, up));
    const double distance = std::max(reach / std::sin(half), reach + 2.0) * 1.01;
    const xyz eye = eye_of(view);
    const double eye_length = length(eye);
    xyz whole{};
    for (int k = 0; k < 3; ++k)
        whole[k] = eye[k] / eye_length * distance;
    return whole;
}

std::string start_view_advice(const view_state& view, const scene_box& box) {
    const xyz eye = whole_view_eye(view, box);
    const double distance = length(eye);
    std::string text = "the model does not fit in the start view; INITIAL_VIEW_POINT=";
    for (int k = 0; k < 3; ++k)
        text += (k ? ", " : "") + rounded_text(eye[k], distance);
    return text + " shows it whole";
}
