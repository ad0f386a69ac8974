// Horizons on a square map grid for tests and benchmarks.
#pragma once

#include "geometry/horizon.hpp"

#include <functional>
#include <string>

// The surface z = height(x, y) over the map square [x0, x0 + size] x [y0, y0 + size] on a grid of
// cells x cells, each cell two triangles.
horizon grid_horizon(std::string name, double x0, double y0, double size, int cells,
                     const std::function<double(double, double)>& height);
