#include "view_math/scene_history.hpp"

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

scene_box box_of(const scene_history& history, std::uint32_t s) {
    scene_box box;
    const block_view shape = tolvex::shape_of(history.kept, s);
    if (history.blocks_shown)
        for (const xyz& v : shape.vertices)
            add_point(box, v);
    else
        for (std::size_t f = 0; f < shape.face_count(); ++f)
            if (face_source_is_cut(shape.face_sources[f]))
                for (int c : shape.face_corners(f))
                    add_point(box, shape.vertices[static_cast<std::size_t>(c)]);
    for (const vec3& t : shape_tracers(history, s))
        add_point(box, t);
    return box;
}

// The first step's tracers give every tracer its starting elevation.
void note_start(scene_history& history, const point_list& tracers) {
    if (history.steps.empty())
        for (const vec3& t : tracers)
            history.start_z.push_back(t[2]);
}

// The boxes of the shapes that have none yet.
void add_boxes(scene_history& history) {
    const auto count = static_cast<std::uint32_t>(block_count(history.kept.shapes));
    for (auto s = static_cast<std::uint32_t>(history.boxes.size()); s < count; ++s)
        history.boxes.push_back(box_of(history, s));
}

} // namespace

namespace {

// Shape s's run of a list kept per tracer slot.
template <class T>
std::span<const T> shape_slots(const scene_history& history, const std::vector<T>& slots,
                               std::uint32_t s) {
    if (!history.tracers_shown)
        return {};
    const block_set& shapes = history.kept.shapes;
    return std::span<const T>(slots).subspan(history.kept.first_slot[s],
                                             shapes.tracer_offset[s + 1] - shapes.tracer_offset[s]);
}

} // namespace

std::span<const vec3> shape_tracers(const scene_history& history, std::uint32_t s) {
    return shape_slots(history, history.kept.tracer_slots, s);
}

std::span<const int> shape_tracer_indices(const scene_history& history, std::uint32_t s) {
    return shape_slots(history, history.kept.slot_tracer, s);
}

void append_history_step(scene_history& history, const std::vector<block>& blocks,
                         const point_list& tracers, std::string label) {
    note_start(history, tracers);
    tolvex::keep_blocks_step(history.kept, blocks, tracers);
    add_boxes(history);
    scene_step& step = history.steps.emplace_back();
    step.label = std::move(label);

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

void append_history_step(scene_history& history, const tolvex::run_step_change& change,
                         std::string label) {
    note_start(history, change.tracers);
    tolvex::keep_step(history.kept, change);
    add_boxes(history);
    scene_step step;
    step.label = std::move(label);
    if (!change.start) {
        step.loose_tracers = history.steps.back().loose_tracers;
        step.loose_start_z = history.steps.back().loose_start_z;
    }
    history.steps.push_back(std::move(step));
}

std::optional<fault_plane> step_plane(const scene_history& history, std::size_t s) {
    const std::optional<fault>& applied = history.kept.steps[s].applied;
    if (!applied)
        return std::nullopt;
    return fault_plane{applied->point, applied->normal};
}

void step_parts(const scene_history& history, std::size_t step, bool walls, step_frame& frame,
                shape_windings* windings) {
    const tolvex::history_step& s = history.kept.steps[step];
    const scene_step& shown = history.steps[step];
    frame.parts.clear();
    frame.tracers.clear();
    frame.start_z.clear();
    frame.walls = fault_surfaces();
    frame.parts.reserve(s.blocks.size() + 1);
    // Every tracer stands in one block or among the loose ones.
    frame.tracers.reserve(history.tracers_shown ? history.start_z.size() : 0);
    frame.start_z.reserve(frame.tracers.capacity());
    for (const tolvex::placed_shape& piece : s.blocks) {
        const block_view shape = tolvex::shape_of(history.kept, piece.shape);
        const xyz& offset = tolvex::offset_of(history.kept, piece);
        if (history.blocks_shown)
            frame.parts.push_back(
                {.shape = shape,
                 .winding = windings ? std::optional(
                                           winding_of(*windings, history.kept.shapes, piece.shape))
                                     : std::nullopt,
                 .offset = offset,
                 .number = piece.shape});
        const std::span<const vec3> tracers = shape_tracers(history, piece.shape);
        const std::span<const int> indices = shape_tracer_indices(history, piece.shape);
        for (std::size_t i = 0; i < tracers.size(); ++i) {
            vec3 p = tracers[i];
            for (int k = 0; k < 3; ++k)
                p[k] += offset[k];
            frame.tracers.push_back(p);
            const auto t = static_cast<std::size_t>(indices[i]);
            frame.start_z.push_back(t < history.start_z.size() ? history.start_z[t] : p[2]);
        }
        if (walls) {
            const std::size_t from = frame.walls.polygons.corners.size();
            add_fault_surfaces(shape, static_cast<int>(piece.shape), frame.walls);
            for (std::size_t c = from; c < frame.walls.polygons.corners.size(); ++c)
                for (int k = 0; k < 3; ++k)
                    frame.walls.polygons.corners[c][k] += offset[k];
        }
    }
    frame.tracers.insert(frame.tracers.end(), shown.loose_tracers.begin(),
                         shown.loose_tracers.end());
    frame.start_z.insert(frame.start_z.end(), shown.loose_start_z.begin(),
                         shown.loose_start_z.end());
    frame.parts.push_back({.tracers = &frame.tracers,
                           .start_z = &frame.start_z,
                           .walls = &frame.walls,
                           .horizons = &s.horizons});
}

scene_history shown_parts(scene_history history, bool show_block, bool show_tracer) {
    if (history.blocks_shown == show_block && history.tracers_shown == show_tracer)
        return history;
    history.blocks_shown = show_block;
    history.tracers_shown = show_tracer;
    if (!show_tracer) {
        // The viewer keeps only what it draws.
        history.kept.tracer_slots = point_list();
        history.kept.slot_tracer = std::vector<int>();
        for (scene_step& step : history.steps) {
            step.loose_tracers = point_list();
            step.loose_start_z = std::vector<double>();
        }
    }
    history.boxes.clear();
    add_boxes(history);
    return history;
}

std::array<double, 2> start_z_range(const scene_history& history) {
    if (history.start_z.empty())
        return {0.0, 0.0};
    const auto [lo, hi] = std::minmax_element(history.start_z.begin(), history.start_z.end());
    return {*lo, *hi};
}

void add_history(scene_box& box, const scene_history& history) {
    // Most blocks stand where they stood the step before: each place is added once.
    std::vector<std::uint32_t> added(history.boxes.size(), UINT32_MAX);
    for (std::size_t s = 0; s < history.steps.size(); ++s) {
        for (const tolvex::placed_shape& piece : history.kept.steps[s].blocks) {
            const scene_box& shape = history.boxes[piece.shape];
            if (shape.empty() || added[piece.shape] == piece.offset)
                continue;
            added[piece.shape] = piece.offset;
            add_point(box, shape.lo, tolvex::offset_of(history.kept, piece));
            add_point(box, shape.hi, tolvex::offset_of(history.kept, piece));
        }
        for (const vec3& t : history.steps[s].loose_tracers)
            add_point(box, t);
        for (const xyz& c : history.kept.steps[s].horizons.polygons.corners)
            add_point(box, c);
    }
}
