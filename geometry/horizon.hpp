// A horizon: a named triangulated surface, in the boundary file's coordinates.
#pragma once

#include "geometry/vector3.hpp"

#include <array>
#include <string>
#include <vector>

using triangle = std::array<int, 3>; // corners as indices into a horizon's vertices

struct horizon {
    std::string name;
    point_list vertices;
    std::vector<triangle> triangles;
};
