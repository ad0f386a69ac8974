// Horizon files: triangulated surfaces as structural-geology programs exchange them. GOCAD TSurf
// (.ts), Wavefront OBJ (.obj) and VTK legacy ASCII polydata (.vtk), told apart by their first
// words, else by the name's ending.
#pragma once

#include "formats/boundary_file.hpp"
#include "geometry/horizon.hpp"

#include <string>
#include <vector>

namespace tolvex {

// The value of a property where a vertex has none, as GOCAD writes it.
inline constexpr double no_data_value = -99999.0;

// The horizons of the file at path, in file order. Throws open_error when it cannot be opened
// (a missing file included) and input_error naming the line and the reason for every line that
// is malformed: a bad number, an index that names no vertex, a face with fewer than three
// corners or a repeated one, an object left unfinished. warn receives "path: reason" for a file
// that holds no triangle.
std::vector<horizon> read_horizon_file(const std::string& path, const warn_fn& warn = {});

// The same for text already read from the file at path (path names it in errors and chooses the
// format when the text does not).
std::vector<horizon> parse_horizon_text(const std::string& text, const std::string& path,
                                        const warn_fn& warn = {});

// The name of the horizon at position in a file that names none: the file's stem, numbered from
// the second on.
std::string unnamed_horizon(const std::string& path, std::size_t position);

// Each format alone.
std::vector<horizon> parse_tsurf_text(const std::string& text, const std::string& path);
std::vector<horizon> parse_obj_surface_text(const std::string& text, const std::string& path);
std::vector<horizon> parse_vtk_surface_text(const std::string& text, const std::string& path);

// Horizons written for other programs, each name kept: GOCAD TSurf (one object per horizon,
// with its coordinate system, z up unless it was read as depth, its properties and metadata),
// OBJ (a group per horizon, the shape only), VTK (cell data "horizon", the properties as point
// data, field arrays "horizon_name" and "horizon_colour"). Each reads back through
// parse_horizon_text to the same horizons, as far as its format holds them.
std::string horizons_to_tsurf(const std::vector<horizon>& horizons);
std::string horizons_to_obj(const std::vector<horizon>& horizons);
std::string horizons_to_vtk(const std::vector<horizon>& horizons);

} // namespace tolvex
