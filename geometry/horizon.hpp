// A horizon: a named triangulated surface, in the boundary file's coordinates.
#pragma once

#include "geometry/vector3.hpp"

#include <array>
#include <optional>
#include <string>
#include <vector>

using triangle = std::array<int, 3>; // corners as indices into a horizon's vertices

// What a horizon's file says of it besides its shape, kept for the files written from it.
struct horizon_metadata {
    std::optional<std::array<double, 3>> colour; // red, green and blue from 0 to 1
    std::string feature;                         // GEOLOGICAL_FEATURE
    std::string type;                            // GEOLOGICAL_TYPE
    std::string axis_unit;                       // AXIS_UNIT as the file wrote it
    bool depth = false;                          // whether the file's z grew downward
};

struct horizon {
    std::string name;
    point_list vertices;
    std::vector<triangle> triangles;
    std::vector<std::string> property_names = {};
    std::vector<double> property_values = {}; // per vertex, a value of each property in turn
    horizon_metadata metadata = {};
};
