#include "viewer/scene_history.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <utility>

namespace {

// How far a reused shape may lie from the block it stands for, as a fraction of the largest
// coordinate about: far above the rounding of moving a block step by step, far below any cut
// (which moves vertices by more than 1e-9 of the block's size).
constexpr double reuse_tolerance = 1e-11;

double largest_coordinate(const scene_box& box, const xyz& offset) {
    double m = 0.0;
    for (int k = 0; k < 3; ++k)
        m = std::max({m, std::abs(box.lo[k] + offset[k]), std::abs(box.hi[k] + offset[k])});
    return m;
}

bool near(const vec3& moved, const vec3& at, const xyz& offset, double tolerance) {
    for (int k = 0; k < 3; ++k)
        if (!(std::abs(moved[k] + offset[k] - at[k]) <= tolerance))
            return false;
    return true;
}

// The offset that places shape onto b when b is that shape moved whole. Tracers move with the
// block that carries them, so only their number is compared.
std::optional<xyz> placement(const history_shape& shape, const block& b) {
    const block& a = shape.geometry;
    if (b.vertices.empty() || a.vertices.size() != b.vertices.size() ||
        a.edges.size() != b.edges.size() || a.faces.size() != b.faces.size() ||
        shape.tracers.size() != b.tracer_indices.size())
        return std::nullopt;
    const vec3& from = shape.geometry.vertices.front();
    const vec3& to = b.vertices.front();
    const xyz offset{to[0] - from[0], to[1] - from[1], to[2] - from[2]};
    const double tolerance = reuse_tolerance * largest_coordinate(shape.box, offset);
    for (std::size_t v = 0; v < b.vertices.size(); ++v)
        if (!near(a.vertices[v], b.vertices[v], offset, tolerance))
            return std::nullopt;
    return offset;
}

// The starting elevation of tracer t; tracers the first step did not have count from where
// they are.
double start_z_of(const scene_history& history, const point_list& tracers, std::size_t t) {
    return t < history.start_z.size() ? history.start_z[t] : tracers[t][2];
}

scene_box box_of(const history_shape& shape) {
    scene_box box;
    add_parts(box, {{.shape = &shape.geometry, .tracers = &shape.tracers, .walls = &shape.walls}});
    return box;
}

std::uint32_t new_shape(scene_history& history, const block& b, const point_list& tracers) {
    history_shape shape;
    shape.geometry.vertices = b.vertices;
    shape.geometry.edges = b.edges;
    shape.geometry.faces = b.faces;
    shape.tracers.reserve(b.tracer_indices.size());
    for (int t : b.tracer_indices) {
        shape.tracers.push_back(tracers[t]);
        shape.tracer_start_z.push_back(start_z_of(history, tracers, static_cast<std::size_t>(t)));
    }
    shape.walls = fault_surfaces_of(std::span<const block>(&b, 1));
    shape.box = box_of(shape);
    history.shapes.push_back(std::move(shape));
    return static_cast<std::uint32_t>(history.shapes.size() - 1);
}

} // namespace

void append_history_step(scene_history& history, const std::vector<block>& blocks,
                         const point_list& tracers, std::string label,
                         std::optional<fault_plane> plane, const horizon_pieces* horizons) {
    if (history.steps.empty())
        for (const vec3& t : tracers)
            history.start_z.push_back(t[2]);
    history_step step;
    step.label = std::move(label);
    step.plane = std::move(plane);
    if (horizons)
        step.horizons = *horizons;
    step.pieces.reserve(blocks.size());
    static const std::vector<placed_shape> none;
    const std::vector<placed_shape>& before =
        history.steps.empty() ? none : history.steps.back().pieces;

    // Blocks come in the order of the blocks they came from: a block is either its predecessor,
    // moved or not, or one of the two halves of a cut one.
    std::size_t i = 0;
    std::size_t halves = 0;
    for (const block& b : blocks) {
        std::optional<xyz> reused;
        if (halves == 0 && i < before.size())
            reused = placement(history.shapes[before[i].shape], b);
        if (reused) {
            step.pieces.push_back({before[i].shape, *reused});
            ++i;
            continue;
        }
        step.pieces.push_back({new_shape(history, b, tracers)});
        if (halves == 0) {
            halves = 1;
        } else {
            halves = 0;
            ++i;
        }
    }

    // Cutting hands each tracer to exactly one block, so as many indices as tracers means none
    // is loose.
    std::size_t indices = 0;
    for (const block& b : blocks)
        indices += b.tracer_indices.size();
    if (indices != tracers.size()) {
        std::vector<char> carried(tracers.size(), 0);
        for (const block& b : blocks)
            for (int t : b.tracer_indices)
                carried[t] = 1;
        for (std::size_t t = 0; t < tracers.size(); ++t)
            if (!carried[t]) {
                step.loose_tracers.push_back(tracers[t]);
                step.loose_start_z.push_back(start_z_of(history, tracers, t));
            }
    }
    history.steps.push_back(std::move(step));
}

std::vector<scene_part> step_parts(const scene_history& history, std::size_t step) {
    const history_step& s = history.steps[step];
    std::vector<scene_part> parts;
    parts.reserve(s.pieces.size() + 1);
    for (const placed_shape& piece : s.pieces) {
        const history_shape& shape = history.shapes[piece.shape];
        parts.push_back({.shape = &shape.geometry,
                         .tracers = &shape.tracers,
                         .offset = piece.offset,
                         .number = piece.shape,
                         .start_z = &shape.tracer_start_z,
                         .walls = &shape.walls});
    }
    parts.push_back(
        {.tracers = &s.loose_tracers, .start_z = &s.loose_start_z, .horizons = &s.horizons});
    return parts;
}

scene_history shown_parts(scene_history history, bool show_block, bool show_tracer) {
    for (history_shape& shape : history.shapes) {
        if (!show_block)
            shape.geometry = block();
        if (!show_tracer) {
            shape.tracers = point_list();
            shape.tracer_start_z.clear();
        }
        shape.box = box_of(shape);
    }
    if (!show_tracer)
        for (history_step& step : history.steps) {
            step.loose_tracers.clear();
            step.loose_start_z.clear();
        }
    return history;
}

std::array<double, 2> start_z_range(const scene_history& history) {
    if (history.start_z.empty())
        return {0.0, 0.0};
    const auto [lo, hi] = std::minmax_element(history.start_z.begin(), history.start_z.end());
    return {*lo, *hi};
}

void add_history(scene_box& box, const scene_history& history) {
    for (const history_step& step : history.steps) {
        for (const placed_shape& piece : step.pieces) {
            const scene_box& shape = history.shapes[piece.shape].box;
            if (shape.empty())
                continue;
            add_point(box, make_vec3(shape.lo[0], shape.lo[1], shape.lo[2]), piece.offset);
            add_point(box, make_vec3(shape.hi[0], shape.hi[1], shape.hi[2]), piece.offset);
        }
        for (const vec3& t : step.loose_tracers)
            add_point(box, t);
        for (const xyz& c : step.horizons.corners)
            add_point(box, c);
    }
}
