// The picture the offscreen tests draw: its size, background and camera, and where a model point
// lands in it, computed from the view frame (the camera looks along -e1 with e2 right and e3 up,
// 30 degree vertical field) rather than through GL.
#pragma once

#include "view_math/view_state.hpp"
#include "viewer/scene_image.hpp"

#include <array>
#include <cmath>

namespace picture_test {

constexpr int W = 320;
constexpr int H = 240;
using rgb = std::array<int, 3>;
const rgb background{51, 102, 153};
const rgb white{255, 255, 255};
const rgb green{0, 255, 25};

inline tolvex::scene_image_options picture_options() {
    tolvex::scene_image_options o;
    o.width = W;
    o.height = H;
    o.clear_color = {0.2f, 0.4f, 0.6f, 1.0f};
    return o;
}

inline view_state picture_view() {
    return tolvex::start_view(picture_options());
}

// Pixel column and row (from the top) of model point p.
inline std::array<int, 2> project(const std::array<double, 3>& p) {
    const view_state view = picture_view();
    double c[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const double rel = p[i] - view.view_point[i];
        c[0] += rel * view.view_e2[i];
        c[1] += rel * view.view_e3[i];
        c[2] -= rel * view.view_e1[i];
    }
    const double f = 1.0 / std::tan(15.0 * 3.14159265358979 / 180.0);
    const double ndc_x = f / (double(W) / H) * c[0] / c[2];
    const double ndc_y = f * c[1] / c[2];
    return {int(std::floor((ndc_x + 1) / 2 * W)), int(std::floor((1 - ndc_y) / 2 * H))};
}

} // namespace picture_test
