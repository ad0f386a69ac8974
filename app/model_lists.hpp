// The process-wide model lists in which the readers, the model run and the viewer meet.
// All are empty at program start and hold their elements by value.
#pragma once

#include "block.hpp"
#include "fault.hpp"

#include <vector>

extern std::vector<fault> faults_pro;   // forward faults: faults_retro reversed, slip negated
extern std::vector<fault> faults_retro; // loaded faults, descending order; points move in a run
extern std::vector<block> blocks_init;  // the centred boundary block of the last run
extern std::vector<block> blocks_retro; // blocks after the restoration run
extern std::vector<block> blocks_pro;   // blocks after the forward run
extern point_list tracers_init;         // initial tracer points, scaled, never centred
extern point_list tracers_retro;        // tracer points after the restoration run
extern point_list tracers_pro;          // tracer points after the forward run

// The faults exactly as the last fault file gave them (sorted, not centred or moved), so that
// every run starts from the loaded faults rather than from where an earlier run left them.
extern std::vector<fault> faults_loaded;
