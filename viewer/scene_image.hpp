// The viewer's start view rendered without a window (EGL, surfaceless) and saved as PNG.
#pragma once

#include "config/display_modes.hpp"
#include "config/view_options.hpp"
#include "geometry/block.hpp"
#include "geometry/horizon_colour.hpp"
#include "geometry/horizon_pieces.hpp"
#include "view_math/scene_parts.hpp"
#include "view_math/view_state.hpp"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tolvex {

struct scene_image_options {
    int width = 640;
    int height = 480;
    std::array<float, 4> clear_color{0.0f, 0.0f, 0.0f, 1.0f};
    xyz eye = default_view_point;
    display_modes modes;
    bool guides = false; // the axis triad and the scale bar, as the viewer draws them
    std::string label;   // the step's label in the lower left corner, as the viewer writes it
    std::vector<double> tracer_start_z;      // per tracer, for colouring by starting elevation
    std::optional<fault_plane> plane;        // the fault that colours faces by side
    horizon_pieces horizons;                 // where the blocks stand, drawn as modes ask
    std::vector<rgb_colour> horizon_colours; // per horizon: its own, or the palette's
};

// The parts of a picture: one per block, then the tracers with options' horizon pieces. The parts
// point into blocks and tracers.
std::vector<scene_part> picture_parts(const block_set& blocks, const point_list& tracers,
                                      const scene_image_options& options);

// The view a picture with options shows: the viewer's start view in a window of its size.
view_state start_view(const scene_image_options& options);

// The scene as the viewer first shows it, as the bytes of a PNG file for a caller that stages
// its outputs. Throws std::runtime_error when no offscreen renderer is available and
// output_error naming path when the picture cannot be encoded.
std::string scene_image_png(const std::vector<block>& blocks, const point_list& tracers,
                            const scene_image_options& options, const std::string& path);

// When the picture would not show all of the blocks, tracers and horizons, advice naming an eye
// that does.
std::optional<std::string> scene_image_advice(const std::vector<block>& blocks,
                                              const point_list& tracers,
                                              const scene_image_options& options);

} // namespace tolvex
