// Seeded random faults and points in the 20 x 20 x 10 box about the origin that the benchmarks cut.
#pragma once

#include "geometry/fault.hpp"

#include <random>
#include <vector>

// A point of the box, uniformly.
vec3 random_point(std::mt19937& rng);

// count faults through random points of the box, with random normals and slip directions and
// slips of 0.1 to 1.
std::vector<fault> random_faults(std::mt19937& rng, int count);
