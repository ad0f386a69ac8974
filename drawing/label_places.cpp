#include "drawing/detail/label_places.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tolvex {

namespace {

double overlap(const page_box& a, const page_box& b) {
    const double w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const double h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0.0 && h > 0.0 ? w * h : 0.0;
}

// How much of the box lies outside the area.
double outside(const page_box& box, const page_box& area) {
    return (box.right - box.left) * (box.bottom - box.top) - overlap(box, area);
}

// The boxes beside the points along the segment, from its middle outward, to its right and its
// left, above and below the point.
std::vector<page_box> candidates(const label_request& label, const std::array<page_point, 2>& s) {
    constexpr double gap = 3.0;
    std::vector<page_box> out;
    for (const double t : {0.5, 0.35, 0.65, 0.2, 0.8, 0.05, 0.95}) {
        const double x = s[0][0] + t * (s[1][0] - s[0][0]);
        const double y = s[0][1] + t * (s[1][1] - s[0][1]);
        for (const double left : {x + gap, x - gap - label.width})
            for (const double bottom : {y - gap, y + gap + label.height})
                out.push_back({left, bottom - label.height, left + label.width, bottom});
    }
    return out;
}

double length(const std::array<page_point, 2>& s) {
    return std::hypot(s[1][0] - s[0][0], s[1][1] - s[0][1]);
}

} // namespace

std::vector<page_box> place_labels(const std::vector<label_request>& labels, const page_box& area) {
    std::vector<page_box> placed;
    for (const label_request& label : labels) {
        std::vector<std::array<page_point, 2>> segments = label.segments;
        std::stable_sort(segments.begin(), segments.end(),
                         [](const auto& a, const auto& b) { return length(a) > length(b); });
        page_box best{area.left, area.top, area.left, area.top};
        double least = std::numeric_limits<double>::infinity();
        for (const auto& s : segments) {
            for (const page_box& box : candidates(label, s)) {
                double cost = 4.0 * outside(box, area);
                for (const page_box& other : placed)
                    cost += overlap(box, other);
                if (cost < least) {
                    least = cost;
                    best = box;
                }
                if (least == 0.0)
                    break;
            }
            if (least == 0.0)
                break;
        }
        placed.push_back(best);
    }
    return placed;
}

} // namespace tolvex
