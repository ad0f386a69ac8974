#include "app/section_line_text.hpp"

#include "io/number_text.hpp"
#include "io/text_fields.hpp"

#include <cmath>

namespace tolvex {

std::optional<std::vector<map_point>> map_points_from_text(std::string_view text) {
    if (trim_blanks(text).empty())
        return std::vector<map_point>{};
    const std::vector<std::string> fields = split_fields(text, ',');
    if (fields.size() % 2 != 0)
        return std::nullopt;
    std::vector<map_point> points;
    for (std::size_t i = 0; i < fields.size(); i += 2) {
        const std::optional<double> x = to_number(fields[i]), y = to_number(fields[i + 1]);
        if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y))
            return std::nullopt;
        points.push_back({*x, *y});
    }
    return points;
}

std::string map_points_text(const std::vector<map_point>& points) {
    std::string text;
    for (const map_point& p : points) {
        for (const double v : p) {
            if (!text.empty())
                text += ',';
            append_shortest(text, v);
        }
    }
    return text;
}

} // namespace tolvex
