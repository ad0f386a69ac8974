#include "formats/horizon_file.hpp"
#include "formats/file_formats.hpp"

#include "io/input_error.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"

#include <cerrno>
#include <filesystem>

namespace tolvex {

std::string unnamed_horizon(const std::string& path, std::size_t position) {
    const std::string stem = std::filesystem::path(path).stem().string();
    return position == 0 ? stem : stem + " " + std::to_string(position + 1);
}

std::vector<horizon> parse_horizon_text(const std::string& text, const std::string& path,
                                        const warn_fn& warn) {
    // The first line names a VTK file; the first line that is no comment a GOCAD one.
    std::string_view first, first_data;
    for_each_line(text, [&](std::string_view line, int number) {
        const std::string_view trimmed = trim_blanks(line);
        if (number == 1)
            first = trimmed;
        if (first_data.empty() && !trimmed.empty() && trimmed.front() != '#')
            first_data = trimmed;
    });
    const file_format* f = read_format(path, holds::horizons);
    const std::optional<format_id> ending = f ? std::optional(f->id) : std::nullopt;
    std::vector<horizon> out;
    if (first.starts_with("# vtk DataFile"))
        out = parse_vtk_surface_text(text, path);
    else if (first_data.starts_with("GOCAD") || ending == format_id::tsurf)
        out = parse_tsurf_text(text, path);
    else if (ending == format_id::vtk)
        out = parse_vtk_surface_text(text, path);
    else
        out = parse_obj_surface_text(text, path);
    if (out.empty() && warn)
        warn(path + ": the file holds no triangle");
    return out;
}

std::vector<horizon> read_horizon_file(const std::string& path, const warn_fn& warn) {
    return reading_file(path, [&] {
        const std::optional<std::string> text = read_text_file(path);
        if (!text)
            throw open_error(path, ENOENT);
        return parse_horizon_text(*text, path, warn);
    });
}

} // namespace tolvex
