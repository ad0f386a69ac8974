// The guides drawn over a view: the scale bar's round length and where the axis triad's
// arms point on the screen. No GL needed.
#pragma once

#include "drawing/picture_text.hpp"
#include "view_math/view_state.hpp"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

// Model units that one pixel spans at the origin's depth in view.
double units_per_pixel(const view_state& view);

// The longest of 1, 2 or 5 times a power of ten not above longest (> 0).
double round_length(double longest);

// The screen directions (right, up; unit length or shorter as the arm turns toward or away
// from the eye) of the model's east (+x), north (+y) and up (+z) in view.
std::array<std::array<double, 2>, 3> triad_arms(const view_state& view);

// The layout of the guides in window pixels: the triad's centre lies triad_inset right and up
// from the lower right corner, its arms triad_arm long; the scale bar (at most a fifth of the
// window wide) stands above it. Text keeps clear of the box they take.
constexpr int guide_margin = 8;
constexpr int triad_arm = 30;
constexpr int triad_inset = guide_margin + triad_arm + 12;

// Width and height of the box at the lower right that the triad, the scale bar and their labels
// take, the margin included.
int guides_width(const view_state& view);
int guides_height();

// Where text lines go: the characters of char_width pixels that fit on a line, and the lowest
// line's height. Left of the guides while 20 characters fit there, else above them across the
// window.
struct text_area {
    std::size_t columns = 1;
    int bottom = guide_margin;
};
text_area text_area_of(const view_state& view, int char_width);

// lines (bottom to top, UTF-8) as Latin-1 text broken at blanks into lines of at most columns
// characters (a longer word is cut), still bottom to top.
std::vector<std::string> wrapped_lines(const std::vector<std::string>& lines, std::size_t columns);

// The lines (bottom to top, UTF-8) placed as text_area_of and wrapped_lines place them, in
// characters of picture_char_width pixels, picture_line_height apart.
std::vector<tolvex::picture_text> text_line_places(const std::vector<std::string>& lines,
                                                   const view_state& view);

// The guides in window pixels: the triad's centre and the tips of its arms (east, north, up), the
// scale bar's ends and height, and the labels: E, N, Up by the tips, then the bar's length above
// its middle.
struct guide_layout {
    std::array<double, 2> centre{};
    std::array<std::array<double, 2>, 3> tips{};
    double bar_left = 0.0;
    double bar_right = 0.0;
    double bar_y = 0.0;
    std::vector<tolvex::picture_text> labels;
};
guide_layout guide_layout_of(const view_state& view);
