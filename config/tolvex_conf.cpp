#include "config/tolvex_conf.hpp"

#include "formats/tracer_file.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"
#include "model/section.hpp"

#include <cmath>
#include <filesystem>

namespace tolvex {

namespace {

// Fields 1 to 3 of a three-number value as numbers; throws on the first bad one, and when there
// are fewer than three fields. Further fields are ignored.
xyz three_numbers(std::string_view value, const line_ref& at, const std::string& key,
                  const std::array<const char*, 3>& names) {
    const std::vector<std::string> fields = split_fields(value, ',');
    if (fields.size() < 3)
        throw input_error(at.path, at.line,
                          key + " needs 3 values, " + std::to_string(fields.size()) + " found");
    xyz numbers{};
    for (std::size_t i = 0; i < 3; ++i)
        numbers[i] = number_value(fields[i], at, key + " " + names[i]);
    return numbers;
}

// The mode a VIEW_...= key names, or an error at its line listing the words it takes.
template <class Mode>
Mode mode_value(std::string_view word, const line_ref& at, const std::string& key,
                std::optional<Mode> (*named)(std::string_view), const char* words) {
    if (const auto mode = named(word))
        return *mode;
    throw input_error(at.path, at.line, key + " " + quoted_text(word) + " is not one of " + words);
}

// Throws when the horizon file key names value while conf has horizons of the other kind: one file
// for both runs, or a file for each run.
void both_runs_or_one(const tolvex_conf& conf, const std::string& key, std::string_view value,
                      const line_ref& at) {
    const bool both = key == "HORIZON_FILE=";
    const std::string& other =
        both ? (conf.present_horizon_file.empty() ? conf.undeformed_horizon_file
                                                  : conf.present_horizon_file)
             : conf.horizon_file;
    if (value.empty() || other.empty())
        return;
    const std::string other_key = !both                               ? "HORIZON_FILE="
                                  : conf.present_horizon_file.empty() ? "UNDEFORMED_HORIZON_FILE="
                                                                      : "PRESENT_HORIZON_FILE=";
    throw input_error(at.path, at.line,
                      key + " cannot be given with " + other_key +
                          ": HORIZON_FILE= gives both runs the same horizons, "
                          "PRESENT_HORIZON_FILE= and UNDEFORMED_HORIZON_FILE= give each run its "
                          "own");
}

// One line of the file. Keys are tried in a fixed order and match at the start of the line only.
// Returns whether the line names a key.
bool apply_line(tolvex_conf& conf, std::string_view line, const line_ref& at) {
    if (line.starts_with('#'))
        return false;
    if (line.starts_with("BOUNDARY_FILE=")) {
        conf.boundary_file = line.substr(14);
    } else if (line.starts_with("TRACER_I_FILE=")) {
        conf.tracer_file = line.substr(14);
    } else if (line.starts_with("HORIZON_FILE=")) {
        both_runs_or_one(conf, "HORIZON_FILE=", line.substr(13), at);
        conf.horizon_file = line.substr(13);
    } else if (line.starts_with("PRESENT_HORIZON_FILE=")) {
        both_runs_or_one(conf, "PRESENT_HORIZON_FILE=", line.substr(21), at);
        conf.present_horizon_file = line.substr(21);
    } else if (line.starts_with("UNDEFORMED_HORIZON_FILE=")) {
        both_runs_or_one(conf, "UNDEFORMED_HORIZON_FILE=", line.substr(24), at);
        conf.undeformed_horizon_file = line.substr(24);
    } else if (line.starts_with("UNITS=")) {
        const std::string units(trim_blanks(line.substr(6)));
        if (const char* problem = units_problem(units))
            throw input_error(at.path, at.line, "UNITS=: " + quoted_text(units) + " " + problem);
        conf.units = units;
    } else if (line.starts_with("GL_CLEAR_COLOR=")) {
        const auto rgb =
            three_numbers(line.substr(15), at, "GL_CLEAR_COLOR=", {"red", "green", "blue"});
        conf.clear_color = {static_cast<float>(rgb[0]), static_cast<float>(rgb[1]),
                            static_cast<float>(rgb[2]), 1.0f};
    } else if (line.starts_with("TRACER_RADIUS=")) {
        // Not trimmed: the value must be exactly the number.
        const double radius = number_value(line.substr(14), at, "TRACER_RADIUS=");
        if (const char* problem = tracer_radius_problem(radius))
            throw input_error(at.path, at.line,
                              "TRACER_RADIUS=: " + quoted_text(line.substr(14)) + " " + problem);
        conf.tracer_radius = radius;
    } else if (line.starts_with("SHOW_BLOCK")) {
        conf.show_block = true; // whatever follows the key
    } else if (line.starts_with("SHOW_TRACER")) {
        conf.show_tracer = true;
    } else if (line.starts_with("INITIAL_VIEW_POINT=")) {
        conf.initial_view_point =
            three_numbers(line.substr(19), at, "INITIAL_VIEW_POINT=", {"x", "y", "z"});
    } else if (line.starts_with("VIEW_SHADING=")) {
        conf.view_modes.lit =
            mode_value(trim_blanks(line.substr(13)), at, "VIEW_SHADING=", lit_named, "flat, lit");
    } else if (line.starts_with("VIEW_COLOUR=")) {
        conf.view_modes.colouring =
            mode_value(trim_blanks(line.substr(12)), at, "VIEW_COLOUR=", colouring_named,
                       "white, block, fault");
    } else if (line.starts_with("VIEW_TRACERS=")) {
        conf.view_modes.tracers =
            mode_value(trim_blanks(line.substr(13)), at, "VIEW_TRACERS=", tracer_look_named,
                       "green, elevation, hidden");
    } else if (line.starts_with("VIEW_BLOCKS=")) {
        conf.view_modes.blocks =
            mode_value(trim_blanks(line.substr(12)), at, "VIEW_BLOCKS=", block_look_named,
                       "shown, see-through, hidden");
    } else {
        return false;
    }
    return true;
}

} // namespace

view_options tolvex_conf::view() const {
    return {clear_color, initial_view_point, show_block, show_tracer, view_modes};
}

std::optional<std::string> no_settings_warning(const tolvex_conf& conf, const std::string& path) {
    if (!conf.loaded || conf.key_lines > 0)
        return std::nullopt;
    return path + ": no line names a setting (BOUNDARY_FILE=, TRACER_I_FILE=, ...), so the "
                  "defaults are used; is it a settings file?";
}

bool tolvex_conf::read(const std::string& filename) {
    loaded = false;
    problems.clear();
    std::optional<std::string> text;
    try {
        text = read_text_file(filename);
    } catch (const input_error& e) {
        problems.push_back(e); // the file is not read to its end: nothing applied
        return loaded;
    }
    if (text)
        read_text(*text, filename);
    return loaded;
}

void tolvex_conf::read_text(const std::string& text, const std::string& path) {
    loaded = false;
    problems.clear();
    key_lines = 0;
    for_each_line(text, [&](std::string_view line, int number) {
        // A bad value leaves the earlier value and the rest of the file is still read.
        try {
            key_lines += apply_line(*this, line, line_ref{path, number});
        } catch (const input_error& e) {
            ++key_lines;
            problems.push_back(e);
        }
    });
    folder = std::filesystem::path(path).parent_path().string();
    loaded = true;
}

} // namespace tolvex
