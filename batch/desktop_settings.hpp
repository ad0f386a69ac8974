// The settings file tolvex-batch reads when the command line names neither a settings file nor
// the input files: the one the desktop program reads, so both show the same model.
#pragma once

#include "config/settings_location.hpp"

#include <functional>
#include <string>

namespace tolvex {

// The file choose_settings finds in places. Throws usage_error when there is none to read: no
// home to look in, or a user's file the desktop program has not written yet (batch runs never
// write the user's settings).
std::string desktop_settings(const settings_places& places,
                             const std::function<bool(const std::string&)>& exists);

} // namespace tolvex
