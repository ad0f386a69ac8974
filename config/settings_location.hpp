// Where the desktop program's settings come from: the file named with --config, else tolvex.conf
// beside the executable (a build tree, or a copy kept with the program), else the user's file in
// the XDG configuration folder, which the first start writes.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tolvex {

// What the choice looks at, gathered by the caller, so the rule itself reads no environment.
struct settings_places {
    std::optional<std::string> given; // --config
    std::string executable_dir;
    std::string xdg_config_home; // $XDG_CONFIG_HOME, empty when unset
    std::string home;            // $HOME, empty when unset
};

enum class settings_source { given, beside_executable, user, first_start, none };

// path is the file to read (for first_start the one to write first); empty for none.
struct settings_choice {
    settings_source source;
    std::string path;
};

// The user's file: $XDG_CONFIG_HOME/tolvex/tolvex.conf, else $HOME/.config/tolvex/tolvex.conf. A
// relative XDG_CONFIG_HOME counts as unset, as the XDG rules say. Empty when there is no home.
std::string user_settings_path(const std::string& xdg_config_home, const std::string& home);

// A given file is chosen whether or not it exists: the caller reports a missing one.
settings_choice choose_settings(const settings_places& places,
                                const std::function<bool(const std::string&)>& exists);

// Whether path names something that exists; false when that cannot be told.
bool path_exists(const std::string& path);

// The places of this process, nothing given yet: its executable's folder and its environment.
settings_places settings_places_here();

} // namespace tolvex
