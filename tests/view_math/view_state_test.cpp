// The view frame, the start view and what finished mouse drags do to the view, without a window.
#include "view_math/view_state.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using boost::numeric::ublas::inner_prod;
using boost::numeric::ublas::norm_2;

constexpr float tol = 1e-5f;

view_state start(const std::array<double, 3>& eye, int ww = 640, int hh = 480) {
    view_state view;
    view.ww = ww;
    view.hh = hh;
    return initial_view(view, eye);
}

vec3f cross(const vec3f& a, const vec3f& b) {
    vec3f r(3);
    r[0] = a[1] * b[2] - a[2] * b[1];
    r[1] = a[2] * b[0] - a[0] * b[2];
    r[2] = a[0] * b[1] - a[1] * b[0];
    return r;
}

void expect_near(const vec3f& got, const vec3f& want, float within) {
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(got[i], want[i], within) << "component " << i;
}

void expect_sound_frame(const view_state& view) {
    for (const vec3f* e : {&view.view_e1, &view.view_e2, &view.view_e3})
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(std::isfinite((*e)[i]));
    EXPECT_NEAR(norm_2(view.view_e1), 1.0f, tol);
    EXPECT_NEAR(norm_2(view.view_e2), 1.0f, tol);
    EXPECT_NEAR(norm_2(view.view_e3), 1.0f, tol);
    EXPECT_NEAR(inner_prod(view.view_e1, view.view_e2), 0.0f, tol);
    EXPECT_NEAR(inner_prod(view.view_e1, view.view_e3), 0.0f, tol);
    EXPECT_NEAR(inner_prod(view.view_e2, view.view_e3), 0.0f, tol);
    expect_near(cross(view.view_e1, view.view_e2), view.view_e3, tol);
    expect_near(view.view_e1, view.view_point / norm_2(view.view_point), tol);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const vec3f& axis = c == 0 ? view.view_e1 : c == 1 ? view.view_e2 : view.view_e3;
            EXPECT_EQ(view.Q_from_view(r, c), axis[r]);
            EXPECT_EQ(view.Q_to_view(c, r), axis[r]);
        }
}

bool same_view(const view_state& a, const view_state& b) {
    for (int i = 0; i < 3; ++i)
        if (a.view_point[i] != b.view_point[i] || a.view_upward[i] != b.view_upward[i] ||
            a.view_e1[i] != b.view_e1[i] || a.view_e2[i] != b.view_e2[i] ||
            a.view_e3[i] != b.view_e3[i])
            return false;
    return true;
}

// The view after a press at (x0, y0) and a release at (x, y).
view_state drag(view_state view, int modifiers, int x0, int y0, int x, int y) {
    view.drag_start = {x0, y0};
    auto next = drag_view(view, modifiers, x, y);
    return next ? *next : view;
}

TEST(ViewFrame, StartViewIsOrthonormalRightHandedAndUpright) {
    for (const auto& eye :
         {std::array<double, 3>{450, -600, 750}, {0, -1000, 500}, {-3, 2, -1}, {1e-3, 0, 5000}}) {
        SCOPED_TRACE(eye[0]);
        const view_state view = start(eye);
        expect_sound_frame(view);
        expect_near(view.view_upward, make_vec3f(0, 0, 1), 0);
        EXPECT_NEAR(inner_prod(view.view_e2, view.view_upward), 0.0f, tol);
    }
}

TEST(ViewFrame, FromFrontAndAboveXPointsRightAndZUp) {
    const view_state view = start({0, -1000, 500});
    expect_near(view.view_point, make_vec3f(0, -1000, 500), 0);
    expect_near(view.view_e2, make_vec3f(1, 0, 0), tol);
    EXPECT_GT(view.view_e3[2], 0.8f);
    EXPECT_GT(view.view_e3[1], 0.0f); // the far side (+y) is higher on the screen
}

TEST(ViewFrame, EyesOnTheVerticalAxisOrAtTheOriginGetADefinedFrame) {
    const view_state above = start({0, 0, 800});
    expect_sound_frame(above);
    expect_near(above.view_e2, make_vec3f(1, 0, 0), tol);
    expect_near(above.view_e3, make_vec3f(0, 1, 0), tol);

    const view_state below = start({0, 0, -800});
    expect_sound_frame(below);
    expect_near(below.view_e2, make_vec3f(1, 0, 0), tol);

    const view_state centre = start({0, 0, 0});
    expect_sound_frame(centre);
    expect_near(centre.view_point, make_vec3f(450, -600, 750), 0);
    EXPECT_TRUE(same_view(centre, start({450, -600, 750})));
    EXPECT_TRUE(same_view(start({NAN, 1, 1}), start({450, -600, 750})));
}

TEST(ViewFrame, ZeroWindowExtentCountsAsOnePixel) {
    EXPECT_EQ(window_extent(0), 1);
    EXPECT_EQ(window_extent(-5), 1);
    EXPECT_EQ(window_extent(480), 480);
    // A drag in a collapsed window stays finite.
    view_state view = start({450, -600, 750}, 640, 0);
    view = drag(view, 0, 10, 10, 10, 11);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(std::isfinite(view.view_point[i]));
}

TEST(MouseDrag, PlainDragZoomsByTwoToTheTwiceHeightFraction) {
    const view_state view = start({450, -600, 750});
    const float distance = norm_2(view.view_point);
    const view_state out = drag(view, 0, 100, 100, 100, 340); // half the height down
    EXPECT_NEAR(norm_2(out.view_point), 2 * distance, distance * tol);
    expect_near(out.view_e1, view.view_e1, tol);
    expect_near(out.view_upward, view.view_upward, tol);

    const view_state in = drag(view, 0, 100, 340, 100, 220); // a quarter up
    EXPECT_NEAR(norm_2(in.view_point), distance / std::sqrt(2.0f), distance * tol);
}

TEST(MouseDrag, ShiftDragTurnsAboutTheScreenVertical) {
    const view_state view = start({450, -600, 750});
    const view_state turned = drag(view, modifier_shift, 100, 100, 420, 100); // half the width
    expect_near(turned.view_e1, -view.view_e2, tol);
    expect_near(turned.view_e3, view.view_e3, tol);
    EXPECT_NEAR(norm_2(turned.view_point), norm_2(view.view_point), 1e-2f);
    expect_sound_frame(turned);

    const float a = 3.14159265358979f * 40.0f / 640.0f;
    const view_state small = drag(view, modifier_shift, 0, 0, 40, 0);
    expect_near(small.view_e1, view.view_e1 * std::cos(a) - view.view_e2 * std::sin(a), tol);
}

TEST(MouseDrag, CtrlDragTurnsAboutTheScreenHorizontal) {
    const view_state view = start({450, -600, 750});
    const view_state turned = drag(view, modifier_ctrl, 100, 300, 100, 60); // half the height up
    expect_near(turned.view_e1, -view.view_e3, tol);
    expect_near(turned.view_e2, view.view_e2, tol);
    expect_sound_frame(turned);
}

TEST(MouseDrag, EachDragAndItsReverseReturnToTheStart) {
    const view_state view = start({450, -600, 750});
    for (int modifiers : {0, int(modifier_shift), int(modifier_ctrl)}) {
        SCOPED_TRACE(modifiers);
        const view_state there = drag(view, modifiers, 200, 200, 263, 131);
        ASSERT_FALSE(same_view(there, view));
        const view_state back = drag(there, modifiers, 263, 131, 200, 200);
        expect_near(back.view_point, view.view_point, 1e-6f * norm_2(view.view_point) * 8);
        expect_near(back.view_upward, view.view_upward, 1e-5f);
        expect_near(back.view_e2, view.view_e2, 1e-5f);
    }
}

TEST(MouseDrag, ZoomStaysReversibleAndNeverReachesTheOrigin) {
    const view_state first = start({450, -600, 750});
    const float distance = norm_2(first.view_point);
    view_state view = first;
    for (int i = 0; i < 200; ++i)
        view = drag(view, 0, 100, 110, 100, 100); // 10 pixels up: closer
    EXPECT_LT(norm_2(view.view_point), distance * 0.01f);
    for (int i = 0; i < 200; ++i)
        view = drag(view, 0, 100, 100, 100, 110);
    expect_near(view.view_point, first.view_point, distance * 1e-5f);

    // Drags of the whole height run into the ends of the range and come back from them.
    for (int i = 0; i < 200; ++i)
        view = drag(view, 0, 0, 479, 0, 0);
    EXPECT_NEAR(norm_2(view.view_point), distance * zoom_nearest, distance * zoom_nearest * tol);
    expect_near(view.view_e1, first.view_e1, 1e-4f);
    view.drag_start = {0, 479};
    EXPECT_FALSE(drag_view(view, 0, 0, 0)) << "no closer than the end of the range";
    view = drag(view, 0, 0, 0, 0, 240);
    EXPECT_NEAR(norm_2(view.view_point), 2 * distance * zoom_nearest, distance * 1e-5f);
    for (int i = 0; i < 200; ++i)
        view = drag(view, 0, 0, 0, 0, 479);
    EXPECT_NEAR(norm_2(view.view_point), distance * zoom_farthest, distance * zoom_farthest * tol);
    expect_sound_frame(view);
}

TEST(MouseWheel, NotchesZoomAlongTheLineOfSightReversiblyWithinTheRange) {
    const view_state first = start({450, -600, 750});
    const float distance = norm_2(first.view_point);
    view_state view = *wheel_view(first, 1);
    EXPECT_NEAR(norm_2(view.view_point), 0.8f * distance, distance * tol);
    expect_near(view.view_e1, first.view_e1, tol);
    view = *wheel_view(view, -1);
    expect_near(view.view_point, first.view_point, distance * tol);
    EXPECT_FALSE(wheel_view(first, 0));
    for (int i = 0; i < 200; ++i)
        view = wheel_view(view, 1).value_or(view);
    EXPECT_NEAR(norm_2(view.view_point), distance * zoom_nearest, distance * zoom_nearest * tol);
    EXPECT_FALSE(wheel_view(view, 1)) << "no closer than the end of the range";
    expect_sound_frame(view);
}

TEST(MouseDrag, StartViewComesBackExactlyAfterAnyDrags) {
    const view_state first = start({450, -600, 750});
    view_state view = first;
    view = drag(view, modifier_shift, 10, 10, 300, 40);
    view = drag(view, modifier_ctrl, 10, 10, 90, 400);
    view = drag(view, 0, 10, 10, 10, 77);
    ASSERT_FALSE(same_view(view, first));
    EXPECT_TRUE(same_view(initial_view(view, {450, -600, 750}), first));
}

TEST(MouseDrag, IgnoredCombinationsAndStillReleasesChangeNothing) {
    view_state view = start({450, -600, 750});
    view.drag_start = {100, 100};
    EXPECT_FALSE(drag_view(view, modifier_alt, 300, 300));
    EXPECT_FALSE(drag_view(view, modifier_shift | modifier_ctrl, 300, 300));
    EXPECT_FALSE(drag_view(view, modifier_shift | modifier_alt, 300, 300));
    EXPECT_FALSE(drag_view(view, 0, 100, 100));
    // Each mode counts one coordinate only.
    EXPECT_FALSE(drag_view(view, 0, 300, 100));
    EXPECT_FALSE(drag_view(view, modifier_shift, 100, 300));
    EXPECT_FALSE(drag_view(view, modifier_ctrl, 300, 100));
}

} // namespace
