// Sections as 3-D geometry for ParaView: the polygons and the traces back on their plane, in
// the boundary file's coordinates, so they overlay the blocks.
#pragma once

#include "model/section.hpp"

#include <string>
#include <vector>

namespace tolvex {

// VTK legacy ASCII polydata: each panel's block polygons and fault and horizon trace segments
// (lines), with cell data field arrays "panel" (its position in panels), "segment" (the segment
// of the line it lies on, from 0: a bent line's polygons and traces end at its bends), "block"
// (-1 for a trace), "fault" (the trace's fault by position in the loaded fault list, else -1) and
// "horizon" (the trace's horizon by position in horizon_names, else -1), and field data
// "fault_label" and "horizon_name" naming them, "line_point" (x, y) and "line_distance" for the
// line's points in order, its ends and bends, and their distances along it. The panels are of one
// run's result along one line.
std::string sections_to_vtk(const std::vector<section>& panels);

} // namespace tolvex
