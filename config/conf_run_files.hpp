// The input files of a run as a configuration names them, and as a caller overrides them.
#pragma once

#include "config/tolvex_conf.hpp"
#include "formats/run_files.hpp"

#include <optional>
#include <string>

namespace tolvex {

// The configuration's boundary, tracer and horizon file names joined to folder (absolute names
// stand as they are; no horizon name stays none) and its radius; the tracer name as configured
// names the file in the failure message.
run_files configured_run_files(const tolvex_conf& conf, const std::string& folder);

// What a caller gives in place of the configured files and radius; empty means the configured.
struct run_file_choice {
    std::string boundary;
    std::string tracers;
    std::optional<double> tracer_radius;
};

// configured_run_files with the given choices put in; the failure message names the tracer
// file by its full path, since it may not come from the configuration.
run_files chosen_run_files(const tolvex_conf& conf, const std::string& folder,
                           const run_file_choice& given);

} // namespace tolvex
