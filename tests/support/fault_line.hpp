// Fault data file lines for tests: 18 tab-separated fields ending in a line feed.
#pragma once

#include <string>

// A line with the given slip magnitude, file slip direction (the forward sense), normal, point and
// sequence number; name "f<id>", the angles of the normal and slip, tag "tag".
std::string fault_line(int id, double slip_mag, const double (&slip)[3], const double (&normal)[3],
                       const double (&point)[3], int order);

// A line with fixed values but for the identifier, sequence number and tag: name "F<id>", angles
// 30 60 120 45, slip magnitude 2.5, slip direction (0, 0, 1), normal (0, 0.5, 1), point
// (10, 20, 30). No line feed.
std::string fault_line(int id, int order, const std::string& tag = "N");
