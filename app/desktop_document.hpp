// What the main window works on: the settings, the faults as loaded, the last run's inputs and
// results. Each window owns one; nothing of it is process-wide.
#pragma once

#include "config/tolvex_conf.hpp"
#include "model/model_run.hpp"

#include <string>
#include <vector>

namespace tolvex {

struct desktop_document {
    tolvex_conf settings;
    std::string fault_path;           // the fault file loaded last; empty before any
    std::vector<fault> faults_loaded; // as that file gave them: sorted, not centred or moved
    point_list tracers_init;          // the initial tracers of the last run, scaled, not centred
    model_result last_run;            // the centred boundary and both runs' results
};

} // namespace tolvex
