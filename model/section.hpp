// A vertical cross-section of a model: what the vertical planes through a map line meet, laid out
// as distance along the line from its start (u) and elevation (z). A bent line is unrolled: each
// segment is cut in its own plane and the segments lie side by side.
#pragma once

#include "geometry/horizon_colour.hpp"

#include <array>
#include <cstddef>
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

using map_point = std::array<double, 2>; // (x, y) in the boundary file's coordinates

// A map line, straight or bent: its points in order, each with the next a segment. A section's
// line has two points or more, no two neighbours equal.
struct section_path {
    std::vector<map_point> points;
};

section_path path_of(const section_line& line);

// The k-th segment, from points[k] to points[k + 1].
section_line segment_of(const section_path& path, std::size_t k);

std::size_t segment_count(const section_path& path);

// The length along all segments; 0 for fewer than two points.
double length_of(const section_path& path);

// The distance along the path from its first point to each of its points: 0 first, the path's
// length last. The bends are those between.
std::vector<double> distances_of(const section_path& path);

// The segment that holds the distance u along the path; the last for u past its end.
std::size_t segment_at(const std::vector<double>& distances, double u);

// Where the distance u along segment k (u counted from the path's start) lies in the map.
map_point map_point_at(const section_path& path, const std::vector<double>& distances,
                       std::size_t k, double u);

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

// The blocks, traces and tracers lie within the line's length: u from 0 to distances_of(path)
// back(). Each lies on one segment: a block that continues across a bend is one polygon on each
// side of it, both with its number.
struct section {
    std::string title; // "restored 3/3" or "forward 2/3: 102 NF-E"
    section_path path;
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
