// "&Open" on the model lists: a fault data file into the loaded faults.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tolvex {

// Opens a fault file into the model lists. nullopt when it does not exist; throws input_error
// when it cannot be read (with the system's reason) or holds bad data. In these cases nothing
// changes. Otherwise faults_retro and faults_loaded take the sorted faults, tracers_init is
// emptied, and the list lines are returned in list order.
std::optional<std::vector<std::string>> load_fault_file(const std::string& path);

} // namespace tolvex
