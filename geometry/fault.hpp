// One fault: a plane (point and normal) with a slip (direction and magnitude), a sequence number
// and the descriptive values of its line in the fault data file. It lives with the geometry
// because block cutting reads the plane and slip and moves the point.
#pragma once

#include "geometry/block.hpp"

#include <array>
#include <string>

struct fault : sortobj {
    fault() : sortobj{0.0} {}
    int id = 0;
    std::string name;
    std::array<double, 2> plane_angles{0.0, 0.0}; // azimuth, inclination (degrees; shown only)
    std::array<double, 2> slip_angles{0.0, 0.0};  // azimuth, plunge (degrees; shown only)
    std::string tag;
    double slip_mag = 0.0;
    vec3 slip_dir = make_vec3(1.0, 0.0, 0.0); // used as given, never normalised
    vec3 normal = make_vec3(0.0, 0.0, 1.0);   // what lies on the side it points to moves
    vec3 point = make_vec3(0.0, 0.0, 0.0);    // a point on the plane; moves during a run
    int order = 0;                            // sequence number; the key is its double value
};

// Gives f its sequence number and the sort key that follows from it, so the two never differ.
inline void set_order(fault& f, int order) {
    f.order = order;
    f.key = order;
}
