// Cross-sections drawn for reports: blocks filled in light colours with black outlines, horizon
// traces in a colour each with a legend, fault traces thick and labelled, tracer dots, axes with
// round ticks in model units, a scale bar, the line's end coordinates at its ends and a title
// with the line's azimuth. The panels share their scale and distance range. One code path
// draws SVG, PDF and PNG through cairo; an SVG's text is <text> elements and a PDF's is text, so
// both stay editable; every number is written as in the C locale.
#pragma once

#include "model/section.hpp"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tolvex {

enum class drawing_format { svg, pdf, png };

struct section_style {
    double width = 842.0;      // of the page, in points (A4 across)
    double exaggeration = 1.0; // vertical: z is drawn this many times larger than u
    std::string units;         // the model's length unit for the axes and the scale bar, or none
    // A PNG's size in pixels, the page scaled to fit and centred in it; none: two pixels a point.
    std::optional<std::array<int, 2>> pixels;
};

// The format a file name's ending asks for (".svg", ".pdf", ".png", any case), or none.
bool drawing_format_of(const std::string& path, drawing_format& format);

// The sections one above the other on one page, as the bytes of a file of the format. Throws
// std::invalid_argument for no sections and for a section with nothing in it, page_too_large
// (drawing/page_bound.hpp) for a page past the largest, std::runtime_error when cairo fails.
std::string draw_sections(const std::vector<section>& panels, const section_style& style,
                          drawing_format format);

} // namespace tolvex
