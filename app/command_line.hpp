// The desktop program's command line, handled before Qt starts, so that --help, --version and
// mistakes need no display.
#pragma once

#include "config/settings_location.hpp"

#include <iosfwd>
#include <optional>
#include <string>
#include <variant>

namespace tolvex {

struct start_plan {
    std::string settings_file;             // empty for the built-in defaults
    std::string notice;                    // to tell the user once, or empty
    std::optional<std::string> fault_file; // opened at start-up
};

// Parses argv and finds the settings in places (with --config put in), writing the user's file on
// a first start. Returns the plan, or the status to exit with: 0 after --help or --version (the
// text on out), 2 after a usage error, 1 when a named file cannot be used (the message on err).
std::variant<start_plan, int> plan_start(int argc, const char* const* argv, settings_places places,
                                         const std::string& examples_dir, std::ostream& out,
                                         std::ostream& err);

// The text --help prints.
std::string desktop_usage();

} // namespace tolvex
