#include "config/settings_location.hpp"

#include "io/file_paths.hpp"

#include <cstdlib>
#include <filesystem>

namespace tolvex {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::string user_settings_path(const std::string& xdg_config_home, const std::string& home) {
    std::filesystem::path folder;
    if (std::filesystem::path(xdg_config_home).is_absolute())
        folder = xdg_config_home;
    else if (!home.empty())
        folder = std::filesystem::path(home) / ".config";
    else
        return "";
    return (folder / "tolvex" / "tolvex.conf").string();
}

settings_choice choose_settings(const settings_places& places,
                                const std::function<bool(const std::string&)>& exists) {
    if (places.given)
        return {settings_source::given, *places.given};
    const std::string beside = join_path(places.executable_dir, "tolvex.conf");
    if (exists(beside))
        return {settings_source::beside_executable, beside};
    const std::string user = user_settings_path(places.xdg_config_home, places.home);
    if (user.empty())
        return {settings_source::none, ""};
    return {exists(user) ? settings_source::user : settings_source::first_start, user};
}

bool path_exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

settings_places settings_places_here() {
    return {std::nullopt, executable_dir(), environment("XDG_CONFIG_HOME"), environment("HOME")};
}

} // namespace tolvex
