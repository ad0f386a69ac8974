// The readers of the module: the boundary, fault, tracer and settings files.
#pragma once

#include "config/tolvex_conf.hpp"

#include <pybind11/pybind11.h>
#include <string>

namespace tolvex {

// Adds read_boundary, read_faults, read_tracers, read_config and the Config class to m.
void add_readers(pybind11::module_& m);

// The settings file at path, read whole: throws input_error for its first bad line and raises
// the OSError of opening it when it cannot be opened.
tolvex_conf read_settings(const std::string& path);

// A tracer scale that reading and writing can use: positive and finite, else ValueError.
double checked_radius(double radius);

} // namespace tolvex
