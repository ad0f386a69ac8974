// A vertical cross-section of a model: what a plane through a map line meets, laid out in the
// plane as distance along the line from its start (u) and elevation (z).
#pragma once

#include "geometry/horizon_colour.hpp"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex {

using section_point = std::array<double, 2>; // (u, z)

// The map line from (x0, y0) to (x1, y1), in the boundary file's coordinates.
struct section_line {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
};

// The line's length in the map.
double length_of(const section_line& line);

// The line's direction from its start to its end in degrees clockwise from north (+y), 0 to
// under 360.
double azimuth_of(const section_line& line);

// Where one block meets the plane: a convex polygon.
struct section_polygon {
    int block = 0;
    std::vector<section_point> corners;
};

// A segment of a horizon's or a fault's trace; which is its position in the section's names, for
// a fault its place in the fault list as loaded, whichever run the section shows.
struct section_trace {
    int which = 0;
    section_point a{}, b{};
    bool dashed = false; // drawn dashed: a footwall's cutoff in a fault diagram
};

struct section_tracer {
    int tracer = 0;
    section_point at{};
};

// Why a length unit ("m", "ft", "km") cannot be written beside the numbers of a drawing, or
// nullptr when it can: it holds a control character (a tab, a line break) or is too long.
const char* units_problem(std::string_view units);

// The blocks, traces and tracers lie within the line's length: u from 0 to length_of(line).
struct section {
    std::string title; // "restored 3/3" or "forward 2/3: 102 NF-E"
    section_line line;
    std::vector<section_polygon> blocks;
    std::vector<std::string> horizon_names;
    std::vector<rgb_colour> horizon_colours; // per name, where its file gave one or more
    std::vector<section_trace> horizon_traces;
    std::vector<std::string> fault_labels;
    std::vector<section_trace> fault_traces;
    std::vector<section_tracer> tracers;
    std::string u_label = "distance along the line"; // the axes' names
    std::string z_label = "elevation";
};

} // namespace tolvex
