// Pictures in the viewer's drawing modes: a few pixels whose colours are known from the mode (a
// face of a known block, a tracer of a known elevation), found by projecting model points with
// the viewer's camera.
#include "tests/support/box.hpp"
#include "tests/viewer/picture_frame.hpp"
#include "tests/viewer/step_pixels.hpp"
#include "view_math/frame_mesh.hpp"
#include "view_math/run_history.hpp"
#include "view_math/scene_colours.hpp"
#include "view_math/view_state.hpp"
#include "viewer/offscreen_render.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace picture_test;

tolvex::scene_image_options options(const display_modes& modes) {
    tolvex::scene_image_options o = picture_options();
    o.modes = modes;
    return o;
}

rgb scaled(const colour3& c) {
    return {int(std::lround(c[0] * 255)), int(std::lround(c[1] * 255)),
            int(std::lround(c[2] * 255))};
}

::testing::AssertionResult shows(const tolvex::scene_pixels& pic, std::array<double, 3> at,
                                 const rgb& want) {
    const auto xy = project(at);
    const auto px = pic.at(xy[0], xy[1]);
    for (int i = 0; i < 3; ++i)
        if (std::abs(px[i] - want[i]) > 3)
            return ::testing::AssertionFailure()
                   << "(" << int(px[0]) << ", " << int(px[1]) << ", " << int(px[2]) << ") at "
                   << xy[0] << "," << xy[1] << ", wanted (" << want[0] << ", " << want[1] << ", "
                   << want[2] << ")";
    return ::testing::AssertionSuccess();
}

std::vector<block> two_cubes() {
    block left = make_cube(60), right = make_cube(60);
    for (vec3& v : left.vertices)
        v[0] -= 100;
    for (vec3& v : right.vertices)
        v[0] += 100;
    return {left, right};
}

TEST(SceneModes, LitFacesAreAsBrightAsTheyFaceTheEye) {
    display_modes modes;
    modes.lit = true;
    const auto pic = tolvex::render_scene_pixels({make_cube(100)}, {}, options(modes));
    const view_state view = picture_view();
    // Half the light falls on every face, the other half as the face turns to the eye.
    const auto lit = [&](int axis, double sign) {
        const int grey = int(std::lround(255.0 * (0.5 + 0.5 * sign * view.view_e1[axis])));
        return rgb{grey, grey, grey};
    };
    EXPECT_TRUE(shows(pic, {-50, 50, 100}, lit(2, 1)));    // top
    EXPECT_TRUE(shows(pic, {-50, -100, -50}, lit(1, -1))); // front (south)
    EXPECT_TRUE(shows(pic, {100, -50, -50}, lit(0, 1)));   // east
}

TEST(SceneModes, EachBlockHasItsOwnColour) {
    display_modes modes;
    modes.colouring = face_colouring::per_block;
    const auto pic = tolvex::render_scene_pixels(two_cubes(), {}, options(modes));
    EXPECT_TRUE(shows(pic, {-120, 0, 60}, scaled(block_colour(0))));
    EXPECT_TRUE(shows(pic, {120, 0, 60}, scaled(block_colour(1))));
}

TEST(SceneModes, FacesShowTheSideOfTheFault) {
    display_modes modes;
    modes.colouring = face_colouring::fault_side;
    auto o = options(modes);
    o.plane = fault_plane{make_vec3(0, 0, 0), make_vec3(1, 0, 0)}; // x = 0, normal east
    const auto pic = tolvex::render_scene_pixels(two_cubes(), {}, o);
    EXPECT_TRUE(shows(pic, {-120, 0, 60}, scaled(fault_side_colour(false))));
    EXPECT_TRUE(shows(pic, {120, 0, 60}, scaled(fault_side_colour(true))));
}

TEST(SceneModes, TracersShowTheirStartingElevationOrNothing) {
    display_modes modes;
    modes.tracers = tracer_look::elevation;
    auto o = options(modes);
    const point_list tracers{make_vec3(-200, -250, 0), make_vec3(150, 100, 0)};
    o.tracer_start_z = {-30, 70}; // where they began: the low end and the top of the scale
    EXPECT_TRUE(shows(tolvex::render_scene_pixels({}, tracers, o), {-200, -250, 0},
                      scaled(elevation_colour(0))));
    EXPECT_TRUE(shows(tolvex::render_scene_pixels({}, tracers, o), {150, 100, 0},
                      scaled(elevation_colour(1))));
    o.modes.tracers = tracer_look::hidden;
    EXPECT_TRUE(shows(tolvex::render_scene_pixels({}, tracers, o), {-200, -250, 0}, background));
}

TEST(SceneModes, SeeThroughAndHiddenBlocksShowTheTracersInside) {
    const point_list tracers{make_vec3(40, -40, 40)};
    display_modes modes;
    modes.blocks = block_look::see_through;
    const double a = see_through_alpha / 255.0;
    rgb blend{};
    for (int k = 0; k < 3; ++k)
        blend[k] = int(std::lround(255 * a + green[k] * (1 - a)));
    // The tracer lies behind the front face; the top face lies over the background.
    const auto through = tolvex::render_scene_pixels({make_cube(100)}, tracers, options(modes));
    EXPECT_TRUE(shows(through, {40, -40, 40}, blend));
    modes.blocks = block_look::hidden;
    const auto hidden = tolvex::render_scene_pixels({make_cube(100)}, tracers, options(modes));
    EXPECT_TRUE(shows(hidden, {40, -40, 40}, green));
    EXPECT_TRUE(shows(hidden, {-50, 50, 100}, background));
}

TEST(SceneModes, GuidesAndLabelAreDrawnInTextShadeOverTheBackground) {
    auto o = options({});
    const auto bare = tolvex::render_scene_pixels({}, {}, o);
    o.guides = true;
    o.label = "forward 0/0";
    const auto marked = tolvex::render_scene_pixels({}, {}, o);
    // White (or nearly, where the text's edges are smoothed) on the dark background: in the lower
    // right (triad, scale bar) and lower left (label) quarters, and nowhere in the bare picture's
    // corners.
    const auto white_in = [](const tolvex::scene_pixels& pic, int x0, int x1) {
        int count = 0;
        for (int y = H / 2; y < H; ++y)
            for (int x = x0; x < x1; ++x) {
                const auto px = pic.at(x, y);
                count += px[0] > 192 && px[1] > 192 && px[2] > 192;
            }
        return count;
    };
    EXPECT_GT(white_in(marked, W / 2, W), 50);
    EXPECT_GT(white_in(marked, 0, W / 2), 50);
    EXPECT_EQ(white_in(bare, 0, W), 0);
}

TEST(SceneModes, EachStepShowsItsOwnHorizonPiecesAndFaultSurfacesAsTheModesAsk) {
    // A horizontal fault through the cube's centre moves the upper half, with the horizon at
    // z = 50 in it, 150 along +x forward and along -x in the restoration.
    fault f;
    f.normal = make_vec3(0, 0, 1);
    f.slip_dir = make_vec3(-1, 0, 0);
    f.slip_mag = 150;
    f.order = 1;
    const horizon layer{"top",
                        {make_vec3(-300, -300, 50), make_vec3(300, -300, 50),
                         make_vec3(300, 300, 50), make_vec3(-300, 300, 50)},
                        {{0, 1, 2}, {0, 2, 3}}};
    scene_history restored, forward;
    const tolvex::model_result result = tolvex::run_model(
        make_cube(100), {f}, {},
        {.horizons = {layer}, .on_change = tolvex::history_collector(restored, forward)});
    ASSERT_EQ(forward.steps.size(), 2u);
    EXPECT_EQ(forward.kept.steps[1].horizons.polygons.corners,
              result.forward.horizons.polygons.corners);

    display_modes modes;
    modes.blocks = block_look::hidden;
    const rgb top = scaled(horizon_colour(0));
    const std::array<double, 3> ahead{200, -50, 50}, back{-200, -50, 50}, middle{-50, -50, 50};
    const auto moved = render_step_pixels(forward, 1, options(modes));
    EXPECT_TRUE(shows(moved, ahead, top));
    EXPECT_TRUE(shows(moved, middle, background));
    EXPECT_TRUE(shows(render_step_pixels(forward, 0, options(modes)), middle, top));
    EXPECT_TRUE(shows(render_step_pixels(restored, 1, options(modes)), back, top));
    tolvex::scene_image_options picture = options(modes);
    picture.horizons = result.forward.horizons;
    EXPECT_TRUE(shows(tolvex::render_scene_pixels({}, {}, picture), ahead, top));

    // The lower half's cut face, where the upper half no longer covers it, see-through.
    modes.horizons = false;
    modes.fault_surfaces = true;
    const auto walls = render_step_pixels(forward, 1, options(modes));
    EXPECT_FALSE(shows(walls, ahead, top));
    const colour3 red = fault_colour(0);
    const double a = fault_surface_alpha / 255.0;
    rgb blended{};
    for (int k = 0; k < 3; ++k)
        blended[k] = int(std::lround(red[k] * 255 * a + background[k] * (1 - a)));
    EXPECT_TRUE(shows(walls, {-50, -50, 0}, blended));
}

} // namespace
