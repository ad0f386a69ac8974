// Horizons as VTK polydata in the form the program writes horizon surfaces (cell data "horizon"
// and a field array "horizon_name"), for tests that read VTK surfaces back.
#pragma once

#include "geometry/horizon.hpp"

#include <string>
#include <vector>

std::string horizons_to_vtk(const std::vector<horizon>& horizons);
