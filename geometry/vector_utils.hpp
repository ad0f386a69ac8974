// Small vector helpers on which the geometry rests. None changes its arguments.
#pragma once

#include "geometry/vector3.hpp"

// The system's one angle constant: the 15-digit decimal, not the full-precision value.
constexpr double pi = 3.14159265358979;

// a x b from the first three components of each; the result has length 3.
vec3 cross_prod3(const vec3& a, const vec3& b);

// x divided by its Euclidean length. A zero vector gives not-a-number components.
vec3 normalize_vector(const vec3& x);

// Arithmetic mean of the points (each point counts as often as it occurs).
// Throws std::invalid_argument on an empty list.
vec3 centroid(const point_list& vecs);
