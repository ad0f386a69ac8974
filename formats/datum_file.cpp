#include "formats/datum_file.hpp"

#include "io/input_error.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"

#include <algorithm>
#include <cerrno>

namespace tolvex {

std::vector<datum_level> parse_datum_text(const std::string& text, const std::string& path) {
    std::vector<datum_level> levels;
    for_each_line(text, [&](std::string_view raw, int number) {
        const std::string_view line = trim_blanks(raw);
        if (line.empty() || line.front() == '#')
            return;
        const std::size_t cut = line.find_last_of(",\t");
        if (cut == std::string_view::npos)
            throw input_error(path, number,
                              "a horizon's name and elevation are needed, "
                              "separated by a comma or a tab");
        const std::string name(trim_blanks(line.substr(0, cut)));
        if (name.empty())
            throw input_error(path, number, "the horizon's name is empty");
        const double z =
            number_value(trim_blanks(line.substr(cut + 1)), {path, number}, "elevation");
        if (std::any_of(levels.begin(), levels.end(),
                        [&](const datum_level& l) { return l.name == name; }))
            throw input_error(path, number, "horizon " + quoted_text(name) + " is given twice");
        levels.push_back({name, z, number});
    });
    return levels;
}

std::vector<datum_level> read_datum_file(const std::string& path) {
    const std::optional<std::string> text = read_text_file(path);
    if (!text)
        throw open_error(path, ENOENT);
    return parse_datum_text(*text, path);
}

std::map<std::string, double> datum_elevations(const std::vector<datum_level>& levels,
                                               const std::vector<horizon>& horizons,
                                               const std::string& path) {
    std::map<std::string, double> elevations;
    for (const datum_level& l : levels) {
        if (std::none_of(horizons.begin(), horizons.end(),
                         [&](const horizon& h) { return h.name == l.name; }))
            throw input_error(path, l.line,
                              "horizon " + quoted_text(l.name) + " is not among the horizons");
        elevations[l.name] = l.elevation;
    }
    return elevations;
}

} // namespace tolvex
