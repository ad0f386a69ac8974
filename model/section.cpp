#include "model/section.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tolvex {

double length_of(const section_line& line) {
    return std::hypot(line.x1 - line.x0, line.y1 - line.y0);
}

double azimuth_of(const section_line& line) {
    const double degrees =
        std::atan2(line.x1 - line.x0, line.y1 - line.y0) * 180.0 / std::numbers::pi;
    return std::fmod(degrees + 360.0, 360.0);
}

const char* units_problem(std::string_view units) {
    if (std::any_of(units.begin(), units.end(),
                    [](unsigned char c) { return c < 0x20 || c == 0x7f; }))
        return "holds a tab, a line break or another control character";
    if (units.size() > 24)
        return "is longer than 24 characters";
    return nullptr;
}

} // namespace tolvex
