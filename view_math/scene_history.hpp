// Every step of a cutting run as the viewer draws it: the run's kept steps (shapes placed per
// step), with what only the viewer needs beside them: each step's label and the tracers no block
// carries, every tracer's starting elevation, and the box around each shape.
#pragma once

#include "geometry/cut_block.hpp"
#include "geometry/horizon_colour.hpp"
#include "model/step_history.hpp"
#include "view_math/face_winding.hpp"
#include "view_math/scene_parts.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct scene_step {
    std::string label;                 // what the viewer names the step by
    point_list loose_tracers;          // tracers that no block carries
    std::vector<double> loose_start_z; // their elevations at step 0
};

struct scene_history {
    tolvex::step_history kept;
    std::vector<scene_step> steps; // one per step of kept
    std::vector<double> start_z;   // the elevation of every tracer at step 0
    // The box around what is drawn of each shape, less its offset: its vertices (only those of its
    // faces the faults made while blocks are not drawn) and its tracers.
    std::vector<scene_box> boxes;
    // Whether the shapes' blocks are drawn (their fault surfaces are drawn either way), and the
    // tracers.
    bool blocks_shown = true;
    bool tracers_shown = true;
    std::vector<rgb_colour> horizon_colours; // per horizon: its own, or the palette's
};

// Appends a step of plain lists: its blocks (with their tracer indices into tracers), each a shape
// of its own where it stands, and its tracers, under label. The first step's tracers give every
// tracer its starting elevation.
void append_history_step(scene_history& history, const std::vector<block>& blocks,
                         const point_list& tracers, std::string label);

// Appends the step change reports (see keep_step), under label. Tracers no block carries stay
// where the step before had them.
void append_history_step(scene_history& history, const tolvex::run_step_change& change,
                         std::string label);

// The tracers of shape s where it was made, less its offset then; none while tracers are not drawn.
std::span<const vec3> shape_tracers(const scene_history& history, std::uint32_t s);
// Which tracer each of those is.
std::span<const int> shape_tracer_indices(const scene_history& history, std::uint32_t s);

// The fault plane step s applied; none at step 0 and for steps of plain lists.
std::optional<fault_plane> step_plane(const scene_history& history, std::size_t s);

// The frame of one step as the viewer draws it. The parts point into the frame and the history.
struct step_frame {
    std::vector<scene_part> parts;
    point_list tracers;          // the pieces' in their order, then the loose ones, where drawn
    std::vector<double> start_z; // theirs
    fault_surfaces walls;        // the fault surfaces of the pieces in their order, where drawn
};

// Fills frame with step (< history.steps.size()): one part per block (numbered by its shape),
// then one part with every tracer, the fault surfaces (when walls is set) and the step's horizon
// pieces. Given windings, which keeps those of history's shapes from frame to frame, the blocks'
// parts carry theirs; without, the drawing finds them.
void step_parts(const scene_history& history, std::size_t step, bool walls, step_frame& frame,
                shape_windings* windings = nullptr);

// history with the shapes' blocks not drawn unless show_block (their faces the faults made still
// are) and its tracers dropped unless show_tracer; steps, labels and horizons stay.
scene_history shown_parts(scene_history history, bool show_block, bool show_tracer);

// The lowest and highest starting elevation of history's tracers ({0, 0} without tracers).
std::array<double, 2> start_z_range(const scene_history& history);

// box grown to hold every step of history.
void add_history(scene_box& box, const scene_history& history);
