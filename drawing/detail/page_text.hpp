// Text of a drawing kept apart from cairo's SVG surface, which writes glyph outlines, so that an
// SVG's labels are <text> elements a reader can edit.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace tolvex {

struct page_text {
    std::string text;        // UTF-8
    double x = 0.0, y = 0.0; // where its baseline is anchored, in page points
    double size = 10.0;
    double align = 0.0; // the anchor's place along the text: 0 start, 0.5 middle, 1 end
    double angle = 0.0; // degrees, clockwise on the page
    bool bold = false;
    std::array<double, 3> colour{0.0, 0.0, 0.0};
    bool halo = false; // a white outline beneath, to stand out on lines
};

// svg with the texts as <text> elements in a named font family, put before its closing tag.
std::string with_svg_texts(std::string svg, const std::vector<page_text>& texts);

} // namespace tolvex
