#include "app/settings_start.hpp"

#include "config/first_settings.hpp"
#include "io/file_paths.hpp"

#include <filesystem>
#include <stdexcept>

namespace tolvex {

settings_start find_or_make_settings(const settings_places& places,
                                     const std::string& examples_dir) {
    const settings_choice choice = choose_settings(places, path_exists);
    if (choice.source == settings_source::none)
        return {"", "tolvex: neither XDG_CONFIG_HOME nor HOME is set, so there is no settings "
                    "file; using the defaults"};
    if (choice.source != settings_source::first_start)
        return {choice.path, ""};
    const std::string example = join_path(examples_dir, "tolvex.conf");
    if (!path_exists(example))
        return {"", "tolvex: no settings file " + choice.path + ", and no example in " +
                        examples_dir + " to make one from; using the defaults"};
    try {
        write_first_settings(choice.path, examples_dir);
    } catch (const std::runtime_error& e) {
        return {example, "tolvex: " + std::string(e.what()) + "; using " + example};
    }
    return {choice.path, "tolvex: first start: wrote " + choice.path + ", naming the example in " +
                             examples_dir + "; edit it to use your own files"};
}

std::string installed_examples_dir(const std::string& exe_dir) {
    return (std::filesystem::path(exe_dir) / TOLVEX_EXAMPLES_FROM_BIN).lexically_normal().string();
}

} // namespace tolvex
