// Block lists and tracers written for other programs: VTK legacy polydata (ParaView) or Wavefront
// OBJ. Every face is written counter-clockwise seen from outside its block, with its normal
// pointing out at unit length, whatever order the block holds it in.
#pragma once

#include "block.hpp"

#include <string>
#include <vector>

namespace tolvex {

// One value of a VTK legacy string array, a line of its own: blanks, '%' and bytes outside
// printable ASCII as %XX, which VTK's reader decodes.
std::string vtk_string(const std::string& text);

// Every function below writes points in the boundary file's own coordinates, so that the files
// overlay the user's other data: the run works about the boundary's vertex mean, centre, which
// is added back to each point. VTK files carry centre as a field-data array "centre" (three
// doubles), and a step's file the fault just applied as a string array "fault" (left out when
// fault_label is empty).

// VTK legacy ASCII polydata: the points of every block in list order, one polygon per face,
// an integer cell scalar "block" (the block's position in the list) and the face normals.
std::string blocks_to_vtk(const std::vector<block>& blocks, const vec3& centre,
                          const std::string& fault_label = "");

// VTK legacy ASCII polydata of points, one vertex cell each, with a point scalar "tracer" holding
// the point's position in the list.
std::string tracers_to_vtk(const point_list& tracers, const vec3& centre,
                           const std::string& fault_label = "");

// The same two as VTK XML PolyData (.vtp), index arrays compressed: the form of step series.
std::string blocks_to_vtp(const std::vector<block>& blocks, const vec3& centre,
                          const std::string& fault_label = "");
std::string tracers_to_vtp(const point_list& tracers, const vec3& centre,
                           const std::string& fault_label = "");

// Wavefront OBJ: one object block_N per block in list order, one normal per face.
std::string blocks_to_obj(const std::vector<block>& blocks, const vec3& centre);

// Writes blocks_to_obj when path ends in ".obj", blocks_to_vtp for ".vtp", blocks_to_vtk
// otherwise, complete or not at all (throws output_error naming the path).
void write_blocks_file(const std::string& path, const std::vector<block>& blocks,
                       const vec3& centre);

} // namespace tolvex
