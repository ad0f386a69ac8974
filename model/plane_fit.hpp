// The plane that fits a triangulated surface best: area-weighted least squares, for faults
// interpreted as surfaces.
#pragma once

#include "geometry/horizon.hpp"
#include "io/input_error.hpp"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tolvex {

struct plane_fit {
    vec3 point = make_vec3(0.0, 0.0, 0.0);  // the surface's area-weighted centroid, on the plane
    vec3 normal = make_vec3(0.0, 0.0, 1.0); // unit; upward, or horizontal for a vertical plane
    double rms = 0.0;     // area-weighted root mean square distance of the surface from the plane
    double largest = 0.0; // the largest distance of a vertex of a triangle from it
    double extent = 0.0;  // the diagonal of the box around the surface's triangles
};

// The plane minimising the integral of the squared distance over the surface's triangles. nullopt
// when its triangles have no area.
std::optional<plane_fit> fit_fault_plane(const horizon& surface);

// Planes fitted to fault surfaces, by the surfaces' names.
using fault_planes = std::map<std::string, plane_fit>;

// The planes of the surfaces read from path, by name. Throws input_error naming the file and the
// surface for one without a triangle of some area, one lying further from its plane than
// max_misfit (default 5 % of its extent), and a name given twice. report, when set, receives for
// each surface its name, plane, RMS and largest distance.
fault_planes fit_fault_surfaces(const std::vector<horizon>& surfaces, const std::string& path,
                                std::optional<double> max_misfit, const warn_fn& report = {});

} // namespace tolvex
