#include "config/first_settings.hpp"

#include "io/atomic_file.hpp"
#include "io/file_paths.hpp"
#include "io/input_error.hpp"
#include "io/text_lines.hpp"

#include <cerrno>
#include <filesystem>
#include <string_view>

namespace tolvex {

std::string first_settings_text(const std::string& example_text, const std::string& examples_dir) {
    std::string text = "# Written by tolvex on its first start from the example in " +
                       examples_dir + "; edit it to use your own files.\n" +
                       "# HORIZON_FILE= gives both runs the same horizons. For present-day "
                       "horizons use PRESENT_HORIZON_FILE= (only the restoration carries them), "
                       "for undeformed ones UNDEFORMED_HORIZON_FILE= (only the forward run).\n";
    // The example's last line feed would otherwise count as one more, empty, line.
    std::string_view body = example_text;
    if (body.ends_with('\n'))
        body.remove_suffix(1);
    for_each_line(body, [&](std::string_view line, int) {
        // The example's comments speak of its own folder.
        if (line.starts_with('#'))
            return;
        // Every key naming a file (BOUNDARY_FILE=, TRACER_I_FILE=, HORIZON_FILE=...) is made
        // absolute: the user's folder holds none of the example's files.
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && line.substr(0, equals).ends_with("_FILE") &&
            equals + 1 < line.size()) {
            text += line.substr(0, equals + 1);
            text += join_path(examples_dir, std::string(line.substr(equals + 1)));
            text += '\n';
            return;
        }
        text += line;
        text += '\n';
    });
    return text;
}

void write_first_settings(const std::string& path, const std::string& examples_dir) {
    const std::string example = join_path(examples_dir, "tolvex.conf");
    const std::optional<std::string> text = read_text_file(example);
    if (!text)
        throw open_error(example, ENOENT);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (ec)
        throw output_error(path + ": cannot make its folder: " + ec.message());
    write_file_atomically(path, first_settings_text(*text, examples_dir));
}

} // namespace tolvex
