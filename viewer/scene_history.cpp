#include "viewer/scene_history.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <utility>

namespace {

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

// b's shape, its tracers (tracers at its tracer indices) moved back by offset, as a new shape.
std::uint32_t new_shape(scene_history& history, block&& b, const point_list& tracers,
                        const offset3& offset) {
    history_shape shape;
    shape.tracers.reserve(b.tracer_indices.size());
    shape.tracer_start_z.reserve(b.tracer_indices.size());
    for (int t : b.tracer_indices) {
        vec3 p = tracers[t];
        for (int k = 0; k < 3; ++k)
            p[k] -= offset[k];
        shape.tracers.push_back(p);
        shape.tracer_start_z.push_back(start_z_of(history, tracers, static_cast<std::size_t>(t)));
    }
    shape.geometry.vertices = std::move(b.vertices);
    shape.geometry.edges = std::move(b.edges);
    shape.geometry.faces = std::move(b.faces);
    shape.walls = fault_surfaces_of(std::span<const block>(&shape.geometry, 1));
    shape.box = box_of(shape);
    history.shapes.push_back(std::move(shape));
    return static_cast<std::uint32_t>(history.shapes.size() - 1);
}

// The half m of change as the kernel holds it: its vertices less its displacement.
block held_half(const cut_step& change, std::size_t m) {
    block b = to_block(view_of(change.made, m));
    const std::size_t first = change.made.vertex_offset[m];
    for (std::size_t v = 0; v < b.vertices.size(); ++v)
        b.vertices[v] = make_vec3(change.made_held[first + v][0], change.made_held[first + v][1],
                                  change.made_held[first + v][2]);
    return b;
}

history_step& new_step(scene_history& history, std::string label, std::optional<fault_plane> plane,
                       const horizon_pieces* horizons) {
    history_step& step = history.steps.emplace_back();
    step.label = std::move(label);
    step.plane = std::move(plane);
    if (horizons)
        step.horizons = *horizons;
    return step;
}

} // namespace

void append_history_step(scene_history& history, const std::vector<block>& blocks,
                         const point_list& tracers, std::string label,
                         std::optional<fault_plane> plane, const horizon_pieces* horizons) {
    if (history.steps.empty())
        for (const vec3& t : tracers)
            history.start_z.push_back(t[2]);
    std::vector<placed_shape> pieces;
    pieces.reserve(blocks.size());
    for (const block& b : blocks)
        pieces.push_back({new_shape(history, block(b), tracers, {0.0, 0.0, 0.0})});
    history_step& step = new_step(history, std::move(label), std::move(plane), horizons);
    step.pieces = std::move(pieces);

    // Cutting hands each tracer to exactly one block, so as many indices as tracers means none
    // is loose.
    std::size_t indices = 0;
    for (const block& b : blocks)
        indices += b.tracer_indices.size();
    if (indices == tracers.size())
        return;
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

void append_history_step(scene_history& history, const cut_step& change, const point_list& tracers,
                         std::string label, std::optional<fault_plane> plane,
                         const horizon_pieces* horizons) {
    const history_step& before = history.steps.back();
    std::vector<placed_shape> pieces;
    pieces.reserve(change.block_count);
    std::size_t m = 0, moved = 0, old = 0;
    for (std::size_t j = 0; j < change.block_count; ++j) {
        if (m < change.made_at.size() && change.made_at[m] == j) {
            // The first half of each cut takes the cut block's place, the second is new.
            old += m % 2 == 0 ? 1 : 0;
            const xyz& d = change.made.displacement[m];
            const offset3 offset{d[0], d[1], d[2]};
            pieces.push_back({new_shape(history, held_half(change, m++), tracers, offset), offset});
            continue;
        }
        placed_shape piece = before.pieces[old++];
        if (moved < change.moved.size() && change.moved[moved] == j) {
            ++moved;
            for (int k = 0; k < 3; ++k)
                piece.offset[k] += change.slip[k];
        }
        pieces.push_back(piece);
    }
    point_list loose = before.loose_tracers;
    std::vector<double> loose_start_z = before.loose_start_z;
    history_step& step = new_step(history, std::move(label), std::move(plane), horizons);
    step.pieces = std::move(pieces);
    step.loose_tracers = std::move(loose);
    step.loose_start_z = std::move(loose_start_z);
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
