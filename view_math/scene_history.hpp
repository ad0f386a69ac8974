// Every step of a cutting run, kept compactly for the viewer. From one step to the next most
// blocks are either untouched or moved whole by the slip, so a step holds its blocks as shapes,
// each stored once when a cut makes it, placed with the offset it has moved since. A 100-fault
// run of some 70,000 blocks passes about two million blocks over its steps, but makes only about
// twice its final block count of shapes.
#pragma once

#include "geometry/cut_block.hpp"
#include "geometry/horizon_colour.hpp"
#include "view_math/scene_parts.hpp"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// A block's shape (vertices, edges and faces; no fault or tracer indices) where it stood when the
// shape was made less the offset it was placed with then, its tracers as a range of the
// history's tracer slots, and the box around both. The faults' cuts are among its faces.
struct history_shape {
    block geometry;
    std::uint32_t tracer_begin = 0, tracer_end = 0;
    scene_box box;
};

// A shape as one step shows it: moved by offset (for a cut's halves, the block's displacement).
struct placed_shape {
    std::uint32_t shape = 0; // position in scene_history::shapes
    xyz offset{0.0, 0.0, 0.0};
};

struct history_step {
    std::vector<placed_shape> pieces;  // in the order of the step's blocks
    point_list loose_tracers;          // tracers that no block carries
    std::vector<double> loose_start_z; // their elevations at step 0
    std::string label;                 // what the viewer names the step by
    std::optional<fault_plane> plane;  // the fault the step applied; none at step 0
    horizon_pieces horizons;           // the pieces of the horizons in the step's blocks
};

struct scene_history {
    // A deque, since a block record moves only by copying: the shapes stay where they are made.
    std::deque<history_shape> shapes;
    std::vector<history_step> steps;
    std::vector<double> start_z; // the elevation of every tracer at step 0
    // The tracers the shapes carry, each where it stood less its block's offset, which a move
    // does not change; with their starting elevations. A cut block's slots are reordered into
    // its halves' (the block keeps the same tracers in its slots), so that each shape's tracers
    // lie together without a copy per shape.
    point_list tracer_slots;
    std::vector<double> slot_start_z;
    // Whether the shapes' blocks are drawn; their fault surfaces are drawn either way.
    bool blocks_shown = true;
    std::vector<rgb_colour> horizon_colours; // per horizon: its own, or the palette's
};

// Appends a step of plain lists: its blocks (with their tracer indices into tracers), each a shape
// of its own where it stands, and its tracers, under label. The first step's tracers give every
// tracer its starting elevation. horizons, when given, are the step's horizon pieces, kept with
// the step.
void append_history_step(scene_history& history, const std::vector<block>& blocks,
                         const point_list& tracers, std::string label,
                         std::optional<fault_plane> plane = std::nullopt,
                         const horizon_pieces* horizons = nullptr);

// Appends the step after the last as the run's report of its pass tells it (the step before is
// the run's step 0 or the report before), with the tracers as they then stand: the halves the
// pass made become shapes, held as the kernel holds them (less their displacement) and placed by
// their displacement, so every block is drawn where the run put it, bit for bit; a moved block
// keeps its shape, its offset moved by the slip as the kernel moves its displacement. Tracers no
// block carries stay where the step before had them.
void append_history_step(scene_history& history, const cut_step& change, const point_list& tracers,
                         std::string label, std::optional<fault_plane> plane = std::nullopt,
                         const horizon_pieces* horizons = nullptr);

// The frame of one step as the viewer draws it. The parts point into the frame and the history.
struct step_frame {
    std::vector<scene_part> parts;
    point_list tracers;          // the pieces' in their order, then the loose ones, where drawn
    std::vector<double> start_z; // theirs
    fault_surfaces walls;        // the fault surfaces of the pieces in their order, where drawn
};

// Fills frame with step (< history.steps.size()): one part per piece (numbered by its shape),
// then one part with every tracer, the fault surfaces (when walls is set) and the step's
// horizon pieces.
void step_parts(const scene_history& history, std::size_t step, bool walls, step_frame& frame);

// history with the shapes' blocks not drawn unless show_block (their faces the faults made still
// are) and their tracers (and the loose ones) dropped unless show_tracer; steps, labels and
// horizons stay.
scene_history shown_parts(scene_history history, bool show_block, bool show_tracer);

// The lowest and highest starting elevation of history's tracers ({0, 0} without tracers).
std::array<double, 2> start_z_range(const scene_history& history);

// box grown to hold every step of history.
void add_history(scene_box& box, const scene_history& history);
