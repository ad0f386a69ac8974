// Block lists and tracers written for other programs: VTK legacy polydata (ParaView), Wavefront
// OBJ or, for tracers, GOCAD VSet. Every face is written counter-clockwise seen from outside its
// block, with its normal pointing out at unit length, whatever order the block holds it in.
#pragma once

#include "geometry/block.hpp"
#include "io/vtp_file.hpp"
#include "model/model_run.hpp"

#include <span>
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

// Which run the blocks come from and how many faults were loaded: a face's cut names the fault by
// its position in the run's list, which the forward run holds in reverse.
struct fault_order {
    run_kind run = run_kind::restoration;
    std::size_t count = 0;
    std::vector<std::string> labels; // the loaded faults', for block files' field "fault_label"
};

// The position in the loaded fault list of the fault that made a face with this source, or -1
// for a face of the boundary.
int loaded_fault_of(int face_source, const fault_order& order);

// VTK legacy ASCII polydata: the points of every block in list order, one polygon per face,
// integer cell scalars "block" (the block's position in the list) and "fault" (loaded_fault_of
// the face), the face normals, and the string field "fault_label" naming the faults "fault"
// numbers (from order's labels, left out when there are none).
std::string blocks_to_vtk(const std::vector<block>& blocks, const vec3& centre,
                          const std::string& fault_label = "", const fault_order& order = {});

// VTK legacy ASCII polydata of points, one vertex cell each, with a point scalar "tracer" holding
// the point's position in the list.
std::string tracers_to_vtk(const point_list& tracers, const vec3& centre,
                           const std::string& fault_label = "");

// GOCAD VSet: one PVRTX per point, numbered from 1, with the property "tracer" holding the
// point's position in the list, under the name "tracers".
std::string tracers_to_vset(const point_list& tracers, const vec3& centre);

// The tracers as the file at path is written: tracers_to_vset for ".vs", tracers_to_vtk
// otherwise.
std::string tracer_points_text(const point_list& tracers, const vec3& centre,
                               const std::string& path);

// The vertex cells and the numbers of count tracers as a .vtp file packs them. Every step of a
// series has the same, so a caller writing one keeps them here from step to step.
struct tracer_numbers {
    bool made = false;
    std::size_t count = 0;
    std::vector<vtp_array> cells;
    vtp_array index;
};

// The same two as VTK XML PolyData (.vtp), index arrays compressed: the form of step series.
// tracers_to_vtp takes the packed numbers from kept, when given, and leaves them there.
std::string blocks_to_vtp(const std::vector<block>& blocks, const vec3& centre,
                          const std::string& fault_label = "", const fault_order& order = {});
std::string tracers_to_vtp(const point_list& tracers, const vec3& centre,
                           const std::string& fault_label = "", tracer_numbers* kept = nullptr);

// blocks_to_vtp with outward_faces of each block given, for a caller that keeps them.
std::string blocks_to_vtp(const std::vector<block>& blocks,
                          std::span<const std::vector<face>> outward, const vec3& centre,
                          const std::string& fault_label = "", const fault_order& order = {});

// Wavefront OBJ: one object block_N per block in list order, one normal per face.
std::string blocks_to_obj(const std::vector<block>& blocks, const vec3& centre);

// blocks_to_obj when path ends in ".obj", blocks_to_vtp for ".vtp", blocks_to_vtk otherwise.
std::string blocks_file_text(const std::string& path, const std::vector<block>& blocks,
                             const vec3& centre, const fault_order& order = {});

// Writes blocks_file_text to path, complete or not at all (throws output_error naming the path).
void write_blocks_file(const std::string& path, const std::vector<block>& blocks,
                       const vec3& centre, const fault_order& order = {});

} // namespace tolvex
