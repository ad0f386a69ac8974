// The viewer's keys without a window: every key the help lists does something, each mode key
// cycles back to where it started, playback runs to the end and stops, and pictures are named
// after the fault file and the step.
#include "view_math/viewer_controls.hpp"

#include <gtest/gtest.h>

#include <set>

namespace {

const view_eyes eyes{default_view_point, {900.0, -1200.0, 1500.0}};

viewer_state three_fault_state() {
    viewer_state s;
    s.view = initial_view(s.view, default_view_point);
    s.steps = start_steps(4, 4);
    return s;
}

TEST(ViewerKeys, EveryKeyTheHelpListsActsAndNoOtherLetterDoes) {
    const std::string listed = "npriqlctbshfao ?";
    for (int key = 0; key < 128; ++key) {
        const bool acts = action_for_key(static_cast<unsigned char>(key)).has_value();
        const bool expected =
            listed.find(static_cast<char>(key)) != std::string::npos || key == 27; // Esc
        EXPECT_EQ(acts, expected) << "key " << key;
    }
    for (int special : {key_f1, int{key_page_up}, int{key_page_down}, int{key_home}, int{key_end}})
        EXPECT_TRUE(action_for_special(special)) << special;
    // The help names each of them.
    std::string help;
    for (const std::string& line : help_lines())
        help += line + "\n";
    for (const char* name :
         {"n,", "p,", "r ", "space", "l ",    "c ",     "t ",        "b ",      "s ",   "i ", "h ",
          "f ", "a ", "o ", "wheel", "?, F1", "q, Esc", "Page Down", "Page Up", "Home", "End"})
        EXPECT_NE(help.find(name), std::string::npos) << name;
}

TEST(ViewerKeys, ModeKeysCycleThroughEveryModeAndBack) {
    for (unsigned char key : {'l', 'c', 't', 'b', 'h', 'f', '?', 'o'}) {
        viewer_state s = three_fault_state();
        std::set<std::tuple<bool, int, int, int, bool, bool, bool, bool>> seen;
        const int presses =
            std::string("lhf?o").find(static_cast<char>(key)) != std::string::npos ? 2 : 3;
        for (int i = 0; i < presses; ++i) {
            seen.insert({s.modes.lit, static_cast<int>(s.modes.colouring),
                         static_cast<int>(s.modes.tracers), static_cast<int>(s.modes.blocks),
                         s.modes.horizons, s.modes.fault_surfaces, s.help, s.overlays});
            EXPECT_EQ(apply_action(s, *action_for_key(key), eyes), viewer_effect::redraw);
        }
        EXPECT_EQ(seen.size(), static_cast<std::size_t>(presses)) << key;
        EXPECT_FALSE(s.modes.lit || s.help) << key;
        EXPECT_EQ(s.modes.colouring, face_colouring::white) << key;
        EXPECT_EQ(s.modes.tracers, tracer_look::green) << key;
        EXPECT_EQ(s.modes.blocks, block_look::shown) << key;
        EXPECT_TRUE(s.modes.horizons && !s.modes.fault_surfaces && s.overlays) << key;
    }
}

TEST(ViewerKeys, PlaybackFromTheEndStartsAtStepZeroAndStopsAtTheLastStep) {
    viewer_state s = three_fault_state();
    EXPECT_EQ(apply_action(s, *action_for_key(' '), eyes), viewer_effect::start_playback);
    EXPECT_EQ(shown_step(s.steps), 0u);
    for (std::size_t step = 1; step <= 3; ++step) {
        EXPECT_TRUE(playback_tick(s));
        EXPECT_EQ(shown_step(s.steps), step);
    }
    EXPECT_FALSE(s.playing) << "stops once the last step shows";
    EXPECT_FALSE(playback_tick(s));

    // Space again during playback stops it where it is; q stops it and closes.
    s.steps = *press_step_key(s.steps, step_key::first);
    apply_action(s, *action_for_key(' '), eyes);
    EXPECT_TRUE(s.playing);
    EXPECT_EQ(apply_action(s, *action_for_key(' '), eyes), viewer_effect::nothing);
    EXPECT_FALSE(s.playing);
    apply_action(s, *action_for_key(' '), eyes);
    EXPECT_EQ(apply_action(s, *action_for_key('q'), eyes), viewer_effect::close);
    EXPECT_FALSE(s.playing);
}

TEST(ViewerKeys, ResetAndFrameGoToTheirEyesAndPicturesAreNamedAfterRunAndStep) {
    viewer_state s = three_fault_state();
    s.view.drag_start = {0, 0};
    s.view = *drag_view(s.view, 0, 0, 200);
    EXPECT_EQ(apply_action(s, *action_for_key('a'), eyes), viewer_effect::redraw);
    EXPECT_FLOAT_EQ(s.view.view_point[2], 1500.0f);
    EXPECT_EQ(apply_action(s, *action_for_key('i'), eyes), viewer_effect::redraw);
    EXPECT_FLOAT_EQ(s.view.view_point[0], static_cast<float>(default_view_point[0]));
    EXPECT_EQ(apply_action(s, *action_for_key('s'), eyes), viewer_effect::save_picture);
    EXPECT_EQ(picture_path("/data/graben", tolvex::run_kind::forward, 3),
              "/data/graben_forward_3.png");
    EXPECT_EQ(picture_path("g", tolvex::run_kind::restoration, 0), "g_restored_0.png");
}

} // namespace
