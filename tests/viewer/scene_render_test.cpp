// Pixels of offscreen renders of the start view: where the background, axes, faces, edges and
// tracers land, found by projecting model points with the camera the viewer uses.
#include "geometry/vector_utils.hpp"
#include "tests/support/box.hpp"
#include "tests/viewer/picture_frame.hpp"
#include "tests/viewer/step_pixels.hpp"
#include "view_math/run_history.hpp"
#include "view_math/view_state.hpp"
#include "viewer/offscreen_context.hpp"
#include "viewer/offscreen_render.hpp"
#include "viewer/scene_drawing.hpp"
#include "viewer/viewer_session.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

namespace {

using namespace picture_test;

const rgb black{0, 0, 0};
const rgb axis_x{153, 153, 229};
const rgb axis_y{153, 229, 153};
const rgb axis_z{229, 153, 153};

tolvex::scene_image_options options() {
    return picture_options();
}

bool near(const std::array<std::uint8_t, 4>& px, const rgb& want) {
    for (int i = 0; i < 3; ++i)
        if (std::abs(px[i] - want[i]) > 2)
            return false;
    return true;
}

bool at(const tolvex::scene_pixels& pic, std::array<int, 2> xy, const rgb& want) {
    return near(pic.at(xy[0], xy[1]), want);
}

// Thin lines may land a pixel off the computed centre.
bool around(const tolvex::scene_pixels& pic, std::array<int, 2> xy, const rgb& want) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (near(pic.at(xy[0] + dx, xy[1] + dy), want))
                return true;
    return false;
}

TEST(SceneRender, EmptyListsShowOnlyTheThreeAxesOnTheBackground) {
    const auto pic = tolvex::render_scene_pixels({}, {}, options());
    ASSERT_EQ(pic.width, W);
    ASSERT_EQ(pic.height, H);
    EXPECT_TRUE(at(pic, {0, 0}, background));
    EXPECT_TRUE(at(pic, {W - 1, H - 1}, background));
    EXPECT_TRUE(around(pic, project({75, 0, 0}), axis_x));
    EXPECT_TRUE(around(pic, project({0, 75, 0}), axis_y));
    EXPECT_TRUE(around(pic, project({0, 0, 75}), axis_z));
    // Past their 150 units the axes stop.
    EXPECT_TRUE(at(pic, project({250, 0, 0}), background));

    int drawn = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const auto px = pic.at(x, y);
            if (near(px, background))
                continue;
            ++drawn;
            EXPECT_TRUE(near(px, axis_x) || near(px, axis_y) || near(px, axis_z))
                << "stray pixel at " << x << "," << y;
        }
    EXPECT_GT(drawn, 100);
}

TEST(SceneRender, CubeShowsWhiteFacesWithBlackEdges) {
    const auto pic = tolvex::render_scene_pixels({make_cube(100)}, {}, options());
    EXPECT_TRUE(at(pic, project({-50, 50, 100}), white));     // top face
    EXPECT_TRUE(at(pic, project({-50, -100, -50}), white));   // front face
    EXPECT_TRUE(around(pic, project({0, -100, 100}), black)); // edge between them
    EXPECT_TRUE(around(pic, project({100, -100, 0}), black)); // an upright edge
    EXPECT_TRUE(at(pic, {0, 0}, background));
    // The axes run inside the cube and only their ends stick out.
    EXPECT_TRUE(around(pic, project({125, 0, 0}), axis_x));
}

TEST(SceneRender, TracersAreGreenAndHiddenInsideBlocks) {
    const vec3 inside = make_vec3(40, -40, 40);
    const vec3 outside = make_vec3(-200, -250, 0);
    const point_list tracers{inside, outside};

    const auto bare = tolvex::render_scene_pixels({}, tracers, options());
    EXPECT_TRUE(at(bare, project({40, -40, 40}), green));
    EXPECT_TRUE(at(bare, project({-200, -250, 0}), green));

    const auto boxed = tolvex::render_scene_pixels({make_cube(100)}, tracers, options());
    EXPECT_TRUE(at(boxed, project({40, -40, 40}), white));
    EXPECT_TRUE(at(boxed, project({-200, -250, 0}), green));
}

TEST(SceneRender, RestoredStepShowsTheModelWhereTheRestorationPutIt) {
    // One fault through the cube's centre: the upper half moves 150 along +x forward and along
    // -x in the restoration.
    fault f;
    f.id = 1;
    f.tag = "T";
    f.normal = make_vec3(0, 0, 1);
    f.slip_dir = make_vec3(-1, 0, 0); // as loaded: the restoration's sense
    f.slip_mag = 150;
    f.order = 1;
    scene_history restored, forward;
    tolvex::run_model(make_cube(100), {f}, {},
                      {.on_change = tolvex::history_collector(restored, forward)});
    ASSERT_EQ(restored.steps.size(), 2u);
    EXPECT_EQ(restored.steps[1].label, "restored 1/1: 1 T");
    EXPECT_EQ(forward.steps[0].label, "forward 0/1");

    const auto ahead = render_step_pixels(forward, 1, options());
    const auto back = render_step_pixels(restored, 1, options());
    // The front face of the upper half, beside the lower half on either side.
    const auto right = project({200, -100, 50});
    const auto left = project({-200, -100, 50});
    EXPECT_TRUE(at(ahead, right, white));
    EXPECT_TRUE(at(ahead, left, background));
    EXPECT_TRUE(at(back, left, white));
    EXPECT_TRUE(at(back, right, background));
    // Both runs start from the same model.
    EXPECT_EQ(render_step_pixels(restored, 0, options()).rgba,
              render_step_pixels(forward, 0, options()).rgba);
}

// A model far larger than the start eye was set for opens framed from the same direction, "i"
// goes back there, and the hint line says why.
TEST(ViewerSession, AModelTheStartEyeDoesNotShowOpensFramedAndSaysWhy) {
    for (const double size : {100.0, 20000.0}) {
        scene_history restored, forward;
        tolvex::run_model(make_cube(size), {}, {},
                          {.on_change = tolvex::history_collector(restored, forward)});
        viewer_session session;
        start_session(session, {std::move(restored), std::move(forward), ""}, view_options{});
        const bool large = size > 1000.0;
        EXPECT_EQ(session.note.find("INITIAL_VIEW_POINT=") != std::string::npos, large)
            << session.note;
        EXPECT_EQ(session.options.eye == default_view_point, !large);
        EXPECT_TRUE(shows_whole(session.state.view, session.box, session.scenes.forward));
    }
}

// Culling the faces turned away from the eye changes no pixel of closed blocks.
TEST(SceneRender, RecordedAndCulledFramesDrawTheSamePixelsAsTheCalls) {
    // A cube cut by random faults, with tracers, at its steps of both runs.
    std::mt19937 rng(5);
    std::normal_distribution<double> g;
    std::uniform_real_distribution<double> inside(-60, 60);
    std::vector<fault> faults(8);
    for (std::size_t i = 0; i < faults.size(); ++i) {
        faults[i].point = make_vec3(inside(rng), inside(rng), inside(rng));
        faults[i].normal = normalize_vector(make_vec3(g(rng), g(rng), g(rng)));
        faults[i].slip_dir = normalize_vector(cross_prod3(faults[i].normal, make_vec3(1, 2, 3)));
        faults[i].slip_mag = 30;
        faults[i].order = static_cast<int>(faults.size() - i);
    }
    point_list tracers(500);
    for (vec3& t : tracers)
        t = make_vec3(inside(rng), inside(rng), 1.5 * inside(rng));
    scene_history restored, forward;
    tolvex::run_model(make_cube(100), faults, tracers,
                      {.on_change = tolvex::history_collector(restored, forward)});

    tolvex::offscreen_context context(W, H);
    const view_state view = tolvex::start_view(options());
    apply_fixed_state(options().clear_color);
    for (const scene_history* history : {&restored, &forward})
        for (std::size_t step : {std::size_t{0}, std::size_t{3}, faults.size()}) {
            step_frame frame;
            step_parts(*history, step, false, frame);
            const std::vector<scene_part>& parts = frame.parts;
            scene_box box;
            add_parts(box, parts);
            const depth_range planes = depth_planes(view, box);
            apply_camera(view, planes);
            ASSERT_TRUE(scene_in_front(view, box, planes));
            const frame_mesh mesh = build_frame_mesh(parts, {}, {});
            clear_frame();
            draw_mesh(mesh, {}, false);
            const auto called = tolvex::read_scene_pixels(W, H);
            const recorded_scene recorded = record_scene(mesh);
            clear_frame();
            replay_scene(recorded, {}, true);
            delete_scene(recorded);
            EXPECT_EQ(tolvex::read_scene_pixels(W, H).rgba, called.rgba)
                << history->steps[step].label;
        }
}

TEST(SceneRender, FacesThatHideNothingBehindThemStillShow) {
    // A cube without its top: its inside shows through the opening.
    block open = make_cube(100);
    open.faces.erase(open.faces.begin() + 1);
    EXPECT_TRUE(
        at(tolvex::render_scene_pixels({open}, {}, options()), project({-50, 50, 100}), white));
    // From inside a closed cube every face is turned away from the eye, and every face shows.
    auto inside = options();
    inside.eye = {10, -20, 30};
    EXPECT_TRUE(at(tolvex::render_scene_pixels({make_cube(100)}, {}, inside), {0, 0}, white));
}

TEST(SceneRender, PictureSizeFollowsTheOptions) {
    auto o = options();
    o.width = 64;
    o.height = 200;
    const auto tall = tolvex::render_scene_pixels({}, {}, o);
    EXPECT_EQ(tall.width, 64);
    EXPECT_EQ(tall.height, 200);
    EXPECT_EQ(tall.rgba.size(), 64u * 200u * 4u);

    o.height = 0;
    EXPECT_THROW(tolvex::render_scene_pixels({}, {}, o), std::runtime_error);
}

// Run by ctest with EGL pointed at no vendor library.
TEST(NoEgl, RenderingFailsWithAClearMessage) {
    try {
        tolvex::render_scene_pixels({}, {}, options());
        FAIL() << "rendered without EGL";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("offscreen rendering unavailable"), std::string::npos)
            << e.what();
    }
}

} // namespace
