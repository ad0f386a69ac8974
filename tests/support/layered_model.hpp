// Seeded random models for the slip fit: a box, faults through its middle with slips in their
// planes, and planar layers across it.
#pragma once

#include "geometry/block.hpp"
#include "geometry/fault.hpp"
#include "geometry/horizon.hpp"

#include <random>
#include <vector>

struct layered_model {
    block boundary;            // 2000 x 2000 x 1000 about (5000, 8000, -1000)
    std::vector<fault> faults; // as loaded: youngest first, slip_dir stored reversed, unit
    std::vector<horizon> layers;
};

struct layered_shape {
    int faults = 5;
    int layers = 3;
    int cells = 30;            // per side of each layer's grid, two triangles a cell
    double layer_dip = 0.0;    // degrees, each layer towards an azimuth of its own
    double largest_rake = 0.0; // degrees off the dip direction, either way
};

layered_model random_layered_model(std::mt19937& rng, const layered_shape& shape);
