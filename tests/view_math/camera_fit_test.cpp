// The depth planes and the start-view advice for scenes of any size.
#include "view_math/camera_fit.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <locale>
#include <random>
#include <sstream>

namespace {

view_state start(const std::array<double, 3>& eye) {
    return initial_view(view_state(), eye);
}

scene_box box(double hx, double hy, double hz) {
    scene_box b;
    add_point(b, make_vec3(-hx, -hy, -hz));
    add_point(b, make_vec3(hx, hy, hz));
    return b;
}

// A block filling b, corners only: what shows_whole looks at.
block corners_of(const scene_box& b) {
    block out;
    for (int k = 0; k < 8; ++k)
        out.vertices.push_back(make_vec3(k & 1 ? b.hi[0] : b.lo[0], k & 2 ? b.hi[1] : b.lo[1],
                                         k & 4 ? b.hi[2] : b.lo[2]));
    return out;
}

TEST(DepthPlanes, FixedWhileTheSceneLiesBetweenThem) {
    const depth_range planes = depth_planes(start({1600, -2900, 1900}), box(800, 600, 250));
    EXPECT_EQ(planes.near_plane, 1.0);
    EXPECT_EQ(planes.far_plane, 5000.0);
    EXPECT_EQ(depth_planes(start({1600, -2900, 1900}), scene_box()).far_plane, 5000.0);
}

TEST(DepthPlanes, EncloseEveryVisiblePointOfALargeScene) {
    // A model 20 km across, seen from eyes near it, inside it and far from it.
    const scene_box model = box(10000, 8000, 2000);
    std::mt19937 rng(7);
    std::normal_distribution<double> g;
    std::uniform_real_distribution<double> u(-1, 1), log_distance(1, 6);
    for (int trial = 0; trial < 200; ++trial) {
        const double r = std::pow(10.0, log_distance(rng));
        const vec3 dir = make_vec3(g(rng), g(rng), g(rng));
        const double n = std::hypot(dir[0], dir[1], dir[2]);
        const view_state view = start({dir[0] / n * r, dir[1] / n * r, dir[2] / n * r});
        const depth_range planes = depth_planes(view, model);
        ASSERT_GT(planes.near_plane, 0.0);
        ASSERT_LT(planes.near_plane, planes.far_plane);
        // Nearer than 1 only as far as depth precision allows.
        EXPECT_GE(planes.near_plane, std::min(1.0, planes.far_plane * 1e-4) * (1 - 1e-9));
        const double tan_up = std::tan(15.0 * 3.14159265358979 / 180.0);
        for (int k = 0; k < 500; ++k) {
            const double p[3] = {u(rng) * 10000, u(rng) * 8000, u(rng) * 2000};
            double x = 0, y = 0, depth = 0;
            for (int i = 0; i < 3; ++i) {
                x += (p[i] - view.view_point[i]) * view.view_e2[i];
                y += (p[i] - view.view_point[i]) * view.view_e3[i];
                depth -= (p[i] - view.view_point[i]) * view.view_e1[i];
            }
            const bool on_screen = std::abs(y) <= depth * tan_up &&
                                   std::abs(x) <= depth * tan_up * 640 / 480 && depth > 1.0;
            if (on_screen) {
                EXPECT_GE(depth, planes.near_plane) << "eye at " << r;
                EXPECT_LE(depth, planes.far_plane) << "eye at " << r;
            }
        }
    }
    // From the start eye the model reaches past the fixed far plane to its corner 16,388 away.
    const depth_range from_start = depth_planes(start({1600, -2900, 1900}), model);
    EXPECT_GT(from_start.far_plane, 16388.0);
    EXPECT_LT(from_start.far_plane, 16500.0);
}

TEST(StartViewAdvice, NamesAnEyeInTheSameDirectionThatShowsTheModelWhole) {
    const view_state view = start({1600, -2900, 1900});
    const point_list no_tracers;
    const scene_box small = box(800, 600, 250);
    const block_set small_model = to_block_set({corners_of(small)});
    EXPECT_TRUE(shows_whole(view, depth_planes(view, small), parts_of(small_model, no_tracers)));

    const scene_box large = box(10000, 8000, 2000);
    const block_set large_model = to_block_set({corners_of(large)});
    EXPECT_FALSE(shows_whole(view, depth_planes(view, large), parts_of(large_model, no_tracers)));
    const std::string advice = start_view_advice(view, large);
    const std::string key = "INITIAL_VIEW_POINT=";
    ASSERT_NE(advice.find(key), std::string::npos) << advice;
    std::istringstream in(advice.substr(advice.find(key) + key.size()));
    in.imbue(std::locale::classic());
    std::array<double, 3> eye{};
    char comma = 0;
    ASSERT_TRUE(in >> eye[0] >> comma >> eye[1] >> comma >> eye[2]) << advice;
    const view_state suggested = start(eye);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(suggested.view_e1[i], view.view_e1[i], 1e-3) << advice;
    EXPECT_TRUE(
        shows_whole(suggested, depth_planes(suggested, large), parts_of(large_model, no_tracers)))
        << advice;
}

} // namespace
