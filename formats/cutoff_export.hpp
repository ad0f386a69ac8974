// Cutoff lines and separations as files, in the boundary file's coordinates (the run's centre
// added back): VTK legacy polydata (.vtk) or GOCAD PLine (.pl) lines, and a CSV table.
#pragma once

#include "model/fault_cutoffs.hpp"

#include <string>
#include <vector>

namespace tolvex {

// The cutoffs of one run, with the run's faults and the horizons they name.
struct run_cutoffs {
    run_kind run;
    const std::vector<fault>& faults;
    std::vector<cutoff_segment> segments;
    std::vector<separation> separations;
};

// The lines of both runs: for a path ending in ".pl" one PLine per run, fault, horizon and wall
// ("forward 102 NF-E top hanging wall"); otherwise VTK with one line cell per segment and the
// integer cell data "fault" (its identifier), "horizon" (its position), "wall" (+1 hanging wall,
// -1 footwall) and "run" (0 restored, 1 forward).
std::string cutoffs_text(const std::string& path, const std::vector<run_cutoffs>& runs,
                         const std::vector<horizon>& horizons, const vec3& centre);

// The separations of both runs as CSV: run, fault (identifier), name, horizon (name),
// along_strike, throw, heave, dip_separation.
std::string separations_csv(const std::vector<run_cutoffs>& runs,
                            const std::vector<horizon>& horizons);

} // namespace tolvex
