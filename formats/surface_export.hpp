// A run's horizons and fault surfaces as files geology programs read, in the boundary file's own
// coordinates (the run's centre added back), so that they overlay the user's other data: GOCAD
// TSurf (.ts), Wavefront OBJ (.obj) or VTK legacy polydata (.vtk), chosen by the name's ending.
#pragma once

#include "geometry/fault.hpp"
#include "geometry/fault_surfaces.hpp"
#include "geometry/horizon.hpp"
#include "geometry/horizon_pieces.hpp"
#include "model/model_run.hpp"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace tolvex {

// Named triangulated surfaces, each convex polygon fanned into triangles whose corners it shares,
// the polygons of one surface sharing the corners where they meet (corners within a billionth of
// the model's reach are one), with integer values per triangle (over all surfaces in turn) that
// VTK files carry as cell data.
struct surface_set {
    std::vector<horizon> surfaces;
    std::vector<std::pair<std::string, std::vector<int>>> cell_data;
    std::vector<std::string> names; // the field "names": what the cell data's numbers stand for
    std::string names_of;           // which cell data names indexes
    std::vector<std::array<double, 3>> colours = {}; // per name when any has one; -1s for none
};

// The horizons' colours as a surface set gives them.
std::vector<std::array<double, 3>> colours_of(const std::vector<horizon>& horizons);

// One surface per horizon that has pieces, named as given, with its metadata and its properties
// interpolated at every corner; cell data "horizon" (its position in horizons), "block" and
// "triangle" (the input triangle the piece came from).
surface_set horizon_surfaces(const horizon_pieces& pieces, const std::vector<horizon>& horizons,
                             const vec3& centre);

// One surface per fault wall, named after the fault with "(+)" for the wall on the side its
// normal points to, the one its slip moved, and "(-)" for the other; cell data "fault" (the
// fault's position in loaded, the faults as loaded), "side" (+1 or -1) and "block". Faults are
// named "102 NF-E": identifier and name.
surface_set fault_wall_surfaces(const fault_surfaces& walls, const std::vector<fault>& loaded,
                                run_kind run, const vec3& centre);

// The surfaces as the file at path is written: TSurf for ".ts", OBJ for ".obj", VTK otherwise
// (with the centre as field data).
std::string surfaces_to_text(const surface_set& set, const std::string& path, const vec3& centre);

// VTK legacy polydata of the surfaces: the set's names as the field "<names_of>_name", their
// colours as "<names_of>_colour", its cell data as integer scalars, the surfaces' properties as
// point data, and centre, when given, as the field "centre". Points as the set has them.
std::string surfaces_to_vtk(const surface_set& set, const vec3* centre = nullptr);

} // namespace tolvex
