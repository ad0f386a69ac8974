// "&Open" on the document: a fault data file into the loaded faults.
#pragma once

#include "app/desktop_document.hpp"
#include "io/input_error.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tolvex {

// Opens a fault file into doc. nullopt when it does not exist; throws input_error when it cannot
// be read (with the system's reason) or holds bad data. In these cases nothing changes.
// Otherwise doc.faults_loaded takes the sorted faults and doc.fault_path the path,
// doc.tracers_init is emptied, and the list lines are returned in list order. The last run's
// results stay until the next run.
// warn receives each line whose angles disagree with its vectors.
std::optional<std::vector<std::string>>
load_fault_file(desktop_document& doc, const std::string& path, const warn_fn& warn = {});

} // namespace tolvex
