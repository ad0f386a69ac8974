// Faults as geologists give them. Coordinates are x east, y north, z up; azimuths are degrees
// clockwise from north. A plane's azimuth is its dip direction and its inclination its dip; its
// upward normal points to the hanging wall (a vertical plane's along its dip direction). A slip's
// azimuth and plunge (down positive) give the forward motion of the side the normal points to.
#pragma once

#include "geometry/fault.hpp"

#include <array>
#include <optional>
#include <string>

namespace tolvex {

// The unit upward normal of the plane with that dip direction and dip.
vec3 plane_normal(double dip_direction, double dip);

// The unit vector with that azimuth and plunge.
vec3 slip_vector(double azimuth, double plunge);

// The hanging wall's unit slip for a rake in the plane (Aki-Richards: strike = dip direction - 90,
// rake measured in the plane from the strike, -90 pure normal slip, +90 pure reverse).
vec3 rake_vector(double dip_direction, double dip, double rake);

// Dip direction and dip of the plane with normal n (of either sense; a vertical plane's dip
// direction is where n points). A horizontal plane has dip direction 0.
std::array<double, 2> plane_angles_of(const vec3& n);

// Azimuth (0 to 360) and plunge of the nonzero vector v; a vertical vector has azimuth 0.
std::array<double, 2> slip_angles_of(const vec3& v);

// The rake of the slip s in the plane with that dip direction and dip, from s projected into it.
double rake_of(const vec3& s, double dip_direction, double dip);

// The angle in degrees between nonzero vectors a and b.
double angle_between(const vec3& a, const vec3& b);

// Differences above this many degrees between a fault's angles and its vectors are reported.
inline constexpr double angle_tolerance = 0.5;

// Where f's plane or slip angles disagree with its normal or (forward) slip by more than
// angle_tolerance: the angles, the vector with the angles it has, and how far apart they are.
// nullopt when they agree.
std::optional<std::string> angle_disagreement(const fault& f);

} // namespace tolvex
