// What the window draws over the model in window pixels: text, the axis triad, the scale bar and
// the help. Offscreen pictures draw the same guide lines here and their text with cairo.
#pragma once

#include "drawing/picture_text.hpp"
#include "view_math/view_guides.hpp"
#include "view_math/view_state.hpp"

#include <array>
#include <string>
#include <vector>

// The texts in GLUT's 9 x 15 bitmap font, in black on a light background and white on a dark
// one. Needs a GLUT window.
void draw_window_texts(const std::vector<tolvex::picture_text>& texts, const view_state& view,
                       const std::array<float, 4>& background);

// The axis triad's arms (E, N, Up) and the scale bar with its end ticks, without their labels.
void draw_guide_lines(const guide_layout& guides, const view_state& view,
                      const std::array<float, 4>& background);

// The lines (UTF-8) over a dimmed panel in the upper left corner. Needs a GLUT window.
void draw_help(const std::vector<std::string>& lines, const view_state& view);
