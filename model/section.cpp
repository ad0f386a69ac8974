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

section_path path_of(const section_line& line) {
    return {{{line.x0, line.y0}, {line.x1, line.y1}}};
}

section_line segment_of(const section_path& path, std::size_t k) {
    const map_point &a = path.points[k], &b = path.points[k + 1];
    return {a[0], a[1], b[0], b[1]};
}

std::size_t segment_count(const section_path& path) {
    return path.points.empty() ? 0 : path.points.size() - 1;
}

double length_of(const section_path& path) {
    double length = 0.0;
    for (std::size_t k = 0; k < segment_count(path); ++k)
        length += length_of(segment_of(path, k));
    return length;
}

std::vector<double> distances_of(const section_path& path) {
    std::vector<double> out;
    for (std::size_t k = 0; k < path.points.size(); ++k)
        out.push_back(k == 0 ? 0.0 : out.back() + length_of(segment_of(path, k - 1)));
    return out;
}

std::size_t segment_at(const std::vector<double>& distances, double u) {
    if (distances.size() < 2)
        return 0;
    const auto after = std::upper_bound(distances.begin() + 1, distances.end() - 1, u);
    return static_cast<std::size_t>(after - distances.begin()) - 1;
}

map_point map_point_at(const section_path& path, const std::vector<double>& distances,
                       std::size_t k, double u) {
    const map_point &a = path.points[k], &b = path.points[k + 1];
    const double length = distances[k + 1] - distances[k];
    const double t = length > 0.0 ? (u - distances[k]) / length : 0.0;
    return {a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])};
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
