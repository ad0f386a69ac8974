// Tracer point files: the initial tracers in, the forward tracers out.
#pragma once

#include "geometry/vector3.hpp"

#include <string>

namespace tolvex {

// Reads the tracer file at path, each coordinate multiplied by radius. Returns false (out
// untouched) when it does not exist, and throws input_error (line 0, out untouched) when it cannot
// be read. Otherwise out is cleared and the points appended in file
// order; on a bad line (a bad value, or one whose product with radius is beyond the double range)
// throws input_error with out holding the points before that line.
bool read_tracer_file(const std::string& path, double radius, point_list& out);

// The same for text already read from the file at path (path only names it in errors): clears
// out, then appends the points; on a bad line throws with out holding the points before it.
void parse_tracer_text(const std::string& text, const std::string& path, double radius,
                       point_list& out);

// The line of the tracer file text on which the point at position index (0-based, as
// parse_tracer_text appends them) stands; 0 when there are fewer points.
int tracer_line(const std::string& text, std::size_t index);

// Why radius cannot scale tracers ("must be a finite number other than 0", or "is too close to
// 0" when saved coordinates divided by it would overflow), or nullptr when it can. The one rule
// for the settings, the command line, Python and the writer.
const char* tracer_radius_problem(double radius);

// The tracer file's text: one "%15.8f %15.8f %15.8f\n" line per point (as the C locale writes it,
// whatever the process locale), each coordinate divided by radius. Throws output_error naming
// path when radius has a problem or a quotient is not finite.
std::string tracers_to_text(const point_list& points, double radius, const std::string& path);

// Writes tracers_to_text to path. The file is complete before it replaces an old one; on failure
// throws output_error and leaves any old file as it was and no partial file behind.
void write_tracer_file(const std::string& path, const point_list& points, double radius);

} // namespace tolvex
