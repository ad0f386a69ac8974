// The shared point type: a uBLAS vector of three doubles (x, y, z) whose storage lives inside the
// object, so blocks and point lists hold their points without one heap allocation per point.
#pragma once

#include <boost/numeric/ublas/vector.hpp>
#include <vector>

using vec3 = boost::numeric::ublas::bounded_vector<double, 3>;

// A growable list of points held by value (block vertices, tracer lists).
using point_list = std::vector<vec3>;

// A growable list of 0-based positions (vertex, fault or tracer indices).
using index_list = std::vector<int>;

// (x, y, z) as a vec3 of length 3.
inline vec3 make_vec3(double x, double y, double z) {
    vec3 v(3);
    v[0] = x;
    v[1] = y;
    v[2] = z;
    return v;
}
