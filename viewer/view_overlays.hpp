// What the viewer draws over the model in window pixels: text, the axis triad, the scale bar and
// the help. Shared by the window and offscreen pictures, so both show the same guides.
#pragma once

#include "view_math/view_state.hpp"

#include <array>
#include <string>
#include <vector>

// The lines of text, bottom to top, from the lower left corner, in black on a light background
// and white on a dark one, broken where they would reach the guides (text_area_of). The texts
// are UTF-8.
void draw_text_lines(const std::vector<std::string>& lines, const view_state& view,
                     const std::array<float, 4>& background);

// The axis triad (E, N, Up) in the lower right corner, turned as view shows the model, and
// above it the scale bar: a round length in model units at the depth of the origin.
void draw_guides(const view_state& view, const std::array<float, 4>& background);

// The lines over a dimmed panel in the upper left corner.
void draw_help(const std::vector<std::string>& lines, const view_state& view);
