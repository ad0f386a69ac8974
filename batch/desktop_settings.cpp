#include "batch/desktop_settings.hpp"

#include "batch/batch_options.hpp"

namespace tolvex {

std::string desktop_settings(const settings_places& places,
                             const std::function<bool(const std::string&)>& exists) {
    const settings_choice choice = choose_settings(places, exists);
    const std::string ask = "give --config, or both --boundary and --tracers: ";
    switch (choice.source) {
    case settings_source::none:
        throw usage_error(ask + "neither XDG_CONFIG_HOME nor HOME is set, so there is no "
                                "settings file to use");
    case settings_source::first_start:
        throw usage_error(ask + "there is no settings file " + choice.path +
                          " (the desktop program tolvex writes it on its first start)");
    default:
        return choice.path;
    }
}

} // namespace tolvex
