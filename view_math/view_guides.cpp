#include "view_math/view_guides.hpp"

#include "geometry/vector_utils.hpp"
#include "view_math/camera_fit.hpp"
#include "view_math/latin1_text.hpp"

#include <boost/numeric/ublas/vector.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>

double units_per_pixel(const view_state& view) {
    const double distance = boost::numeric::ublas::norm_2(view.view_point);
    const double half_height = std::tan(field_of_view_degrees / 2.0 * pi / 180.0) * distance;
    return 2.0 * half_height / window_extent(view.hh);
}

double round_length(double longest) {
    const double power = std::pow(10.0, std::floor(std::log10(longest)));
    for (double step : {5.0, 2.0, 1.0})
        if (step * power <= longest)
            return step * power;
    return power;
}

std::array<std::array<double, 2>, 3> triad_arms(const view_state& view) {
    std::array<std::array<double, 2>, 3> arms{};
    for (int axis = 0; axis < 3; ++axis)
        arms[axis] = {view.view_e2[axis], view.view_e3[axis]};
    return arms;
}

int guides_width(const view_state& view) {
    // The triad's left label reaches triad_arm and a label (about 14 pixels) past its centre; the
    // bar's label is centred on the bar, at most 8 characters.
    const int triad = triad_inset + triad_arm + 14;
    const int bar = guide_margin + window_extent(view.ww) / 5 + 36;
    return std::max(triad, bar) + guide_margin;
}

int guides_height() {
    // The bar lies triad_arm + 30 above the triad's centre, its label 6 above it, 15 high.
    return triad_inset + triad_arm + 30 + 6 + 15 + guide_margin;
}

text_area text_area_of(const view_state& view, int char_width) {
    const int ww = window_extent(view.ww);
    const int beside = (ww - guides_width(view) - guide_margin) / char_width;
    if (beside >= 20)
        return {static_cast<std::size_t>(beside), guide_margin};
    const int across = (ww - 2 * guide_margin) / char_width;
    return {static_cast<std::size_t>(std::max(across, 1)), guides_height()};
}

std::vector<std::string> wrapped_lines(const std::vector<std::string>& lines, std::size_t columns) {
    columns = std::max<std::size_t>(columns, 1);
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        const std::string text = latin1_text(line);
        std::vector<std::string> pieces; // top to bottom
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = std::min(text.size(), start + columns);
            if (end < text.size()) {
                const std::size_t blank = text.rfind(' ', end);
                if (blank != std::string::npos && blank > start)
                    end = blank;
            }
            pieces.push_back(text.substr(start, end - start));
            start = end;
            while (start < text.size() && text[start] == ' ')
                ++start;
        }
        if (pieces.empty())
            pieces.emplace_back();
        out.insert(out.end(), pieces.rbegin(), pieces.rend());
    }
    return out;
}

std::vector<tolvex::picture_text> text_line_places(const std::vector<std::string>& lines,
                                                   const view_state& view) {
    const text_area area = text_area_of(view, tolvex::picture_char_width);
    const std::vector<std::string> shown = wrapped_lines(lines, area.columns);
    std::vector<tolvex::picture_text> places;
    for (std::size_t i = 0; i < shown.size(); ++i)
        places.push_back({guide_margin,
                          area.bottom + static_cast<int>(i) * tolvex::picture_line_height,
                          shown[i]});
    return places;
}

namespace {

std::string length_text(double length) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, length).ptr;
    return std::string(text, end);
}

} // namespace

guide_layout guide_layout_of(const view_state& view) {
    guide_layout guides;
    guides.centre = {view.ww - static_cast<double>(triad_inset), static_cast<double>(triad_inset)};
    const char* names[3] = {"E", "N", "Up"};
    const auto arms = triad_arms(view);
    for (int axis = 0; axis < 3; ++axis) {
        for (int i = 0; i < 2; ++i)
            guides.tips[axis][i] = guides.centre[i] + triad_arm * arms[axis][i];
        guides.labels.push_back({static_cast<int>(guides.tips[axis][0] + 10.0 * arms[axis][0]) - 4,
                                 static_cast<int>(guides.tips[axis][1] + 10.0 * arms[axis][1]) - 5,
                                 names[axis]});
    }
    // The bar spans at most a fifth of the window's width.
    const double per_pixel = units_per_pixel(view);
    const double length = round_length(per_pixel * view.ww / 5.0);
    guides.bar_right = view.ww - static_cast<double>(guide_margin);
    guides.bar_left = guides.bar_right - length / per_pixel;
    guides.bar_y = guides.centre[1] + triad_arm + 30.0;
    const std::string text = length_text(length);
    guides.labels.push_back({static_cast<int>((guides.bar_left + guides.bar_right) / 2.0) -
                                 tolvex::picture_char_width * static_cast<int>(text.size()) / 2,
                             static_cast<int>(guides.bar_y) + 6, text});
    return guides;
}
