#include "view_math/scene_history.hpp"

#include "model/step_blocks.hpp"

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

// The corners of the faces the faults' cuts made in b.
template <class Add> void for_wall_corners(const block& b, const Add& add) {
    for (const face& f : b.faces)
        if (face_source_is_cut(f.source))
            for (int c : f.indices)
                add(b.vertices[c]);
}

// The box around what history draws of shape: its vertices (only those of its faces the faults
// made while blocks are not drawn) and its tracers.
scene_box box_of(const scene_history& history, const history_shape& shape) {
    scene_box box;
    const auto add = [&box](const vec3& p) { add_point(box, p); };
    if (history.blocks_shown)
        std::for_each(shape.geometry.vertices.begin(), shape.geometry.vertices.end(), add);
    else
        for_wall_corners(shape.geometry, add);
    for (std::uint32_t t = shape.tracer_begin; t < shape.tracer_end; ++t)
        add(history.tracer_slots[t]);
    return box;
}

// Puts tracers[indices] moved back by offset into the slots from first on.
void fill_slots(scene_history& history, std::size_t first, std::span<const int> indices,
                const point_list& tracers, const xyz& offset) {
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const auto t = static_cast<std::size_t>(indices[i]);
        vec3 p = tracers[t];
        for (int k = 0; k < 3; ++k)
            p[k] -= offset[k];
        history.tracer_slots[first + i] = p;
        history.slot_start_z[first + i] = start_z_of(history, tracers, t);
    }
}

// b's shape as a new shape whose tracers lie in the slots from first on.
std::uint32_t new_shape(scene_history& history, block&& b, std::size_t first) {
    history_shape shape;
    shape.tracer_begin = static_cast<std::uint32_t>(first);
    shape.tracer_end = static_cast<std::uint32_t>(first + b.tracer_indices.size());
    shape.geometry.vertices = std::move(b.vertices);
    shape.geometry.edges = std::move(b.edges);
    shape.geometry.faces = std::move(b.faces);
    shape.box = box_of(history, shape);
    history.shapes.push_back(std::move(shape));
    return static_cast<std::uint32_t>(history.shapes.size() - 1);
}

// b as a new shape with tracers of its own, placed where it stands.
std::uint32_t new_shape(scene_history& history, block&& b, const point_list& tracers) {
    const std::size_t first = history.tracer_slots.size();
    history.tracer_slots.resize(first + b.tracer_indices.size());
    history.slot_start_z.resize(first + b.tracer_indices.size());
    fill_slots(history, first, b.tracer_indices, tracers, {0.0, 0.0, 0.0});
    return new_shape(history, std::move(b), first);
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
        pieces.push_back({new_shape(history, block(b), tracers)});
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
    std::size_t first = 0; // the next tracer slot of the block being cut
    tolvex::walk_step(
        change,
        [&](std::size_t m, std::size_t cut) {
            // The halves share out the cut block's tracer slots, the first's first.
            if (m % 2 == 0)
                first = history.shapes[before.pieces[cut].shape].tracer_begin;
            const xyz& offset = change.made.displacement[m];
            block half = tolvex::held_half(change, m);
            fill_slots(history, first, half.tracer_indices, tracers, offset);
            const std::size_t count = half.tracer_indices.size();
            pieces.push_back({new_shape(history, std::move(half), first), offset});
            first += count;
        },
        [&](std::size_t old, bool moved) {
            placed_shape piece = before.pieces[old];
            if (moved)
                for (int k = 0; k < 3; ++k)
                    piece.offset[k] += change.slip[k];
            pieces.push_back(piece);
        });
    point_list loose = before.loose_tracers;
    std::vector<double> loose_start_z = before.loose_start_z;
    history_step& step = new_step(history, std::move(label), std::move(plane), horizons);
    step.pieces = std::move(pieces);
    step.loose_tracers = std::move(loose);
    step.loose_start_z = std::move(loose_start_z);
}

void step_parts(const scene_history& history, std::size_t step, bool walls, step_frame& frame) {
    const history_step& s = history.steps[step];
    frame.parts.clear();
    frame.tracers.clear();
    frame.start_z.clear();
    frame.walls = fault_surfaces();
    frame.parts.reserve(s.pieces.size() + 1);
    for (const placed_shape& piece : s.pieces) {
        const history_shape& shape = history.shapes[piece.shape];
        if (history.blocks_shown)
            frame.parts.push_back(
                {.shape = &shape.geometry, .offset = piece.offset, .number = piece.shape});
        for (std::uint32_t t = shape.tracer_begin; t < shape.tracer_end; ++t) {
            vec3 p = history.tracer_slots[t];
            for (int k = 0; k < 3; ++k)
                p[k] += piece.offset[k];
            frame.tracers.push_back(p);
            frame.start_z.push_back(history.slot_start_z[t]);
        }
        if (walls) {
            const std::size_t from = frame.walls.polygons.corners.size();
            add_fault_surfaces(shape.geometry, static_cast<int>(piece.shape), frame.walls);
            for (std::size_t c = from; c < frame.walls.polygons.corners.size(); ++c)
                for (int k = 0; k < 3; ++k)
                    frame.walls.polygons.corners[c][k] += piece.offset[k];
        }
    }
    frame.tracers.insert(frame.tracers.end(), s.loose_tracers.begin(), s.loose_tracers.end());
    frame.start_z.insert(frame.start_z.end(), s.loose_start_z.begin(), s.loose_start_z.end());
    frame.parts.push_back({.tracers = &frame.tracers,
                           .start_z = &frame.start_z,
                           .walls = &frame.walls,
                           .horizons = &s.horizons});
}

scene_history shown_parts(scene_history history, bool show_block, bool show_tracer) {
    history.blocks_shown = show_block;
    if (!show_tracer) {
        history.tracer_slots = point_list();
        history.slot_start_z = std::vector<double>();
        for (history_shape& shape : history.shapes)
            shape.tracer_begin = shape.tracer_end = 0;
        for (history_step& step : history.steps) {
            step.loose_tracers.clear();
            step.loose_start_z.clear();
        }
    }
    for (history_shape& shape : history.shapes)
        shape.box = box_of(history, shape);
    return history;
}

std::array<double, 2> start_z_range(const scene_history& history) {
    if (history.start_z.empty())
        return {0.0, 0.0};
    const auto [lo, hi] = std::minmax_element(history.start_z.begin(), history.start_z.end());
    return {*lo, *hi};
}

void add_history(scene_box& box, const scene_history& history) {
    // Most pieces stand where they stood the step before: each place is added once.
    std::vector<xyz> added(history.shapes.size(), xyz{NAN, NAN, NAN});
    for (const history_step& step : history.steps) {
        for (const placed_shape& piece : step.pieces) {
            const scene_box& shape = history.shapes[piece.shape].box;
            if (shape.empty() || added[piece.shape] == piece.offset)
                continue;
            added[piece.shape] = piece.offset;
            add_point(box, shape.lo, piece.offset);
            add_point(box, shape.hi, piece.offset);
        }
        for (const vec3& t : step.loose_tracers)
            add_point(box, t);
        for (const xyz& c : step.horizons.polygons.corners)
            add_point(box, c);
    }
}
