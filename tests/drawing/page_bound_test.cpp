// No exaggeration reaches cairo with a page past the largest: each is drawn or refused with the
// largest that fits, and that one draws.
#include "drawing/page_bound.hpp"
#include "drawing/section_drawing.hpp"

#include <gtest/gtest.h>

using namespace tolvex;

TEST(PageBound, EveryExaggerationIsDrawnOrRefusedWithOneThatFits) {
    section s;
    s.title = "forward";
    s.path = path_of({0, 0, 1000, 0});
    s.blocks = {{0, {{0, -500}, {1000, -500}, {1000, 0}, {0, 0}}}};
    s.horizon_names = {"top"};
    s.horizon_traces = {{0, {0, -250}, {1000, -250}}};
    s.fault_labels = {"1"};
    s.fault_traces = {{0, {500, -500}, {500, 0}}};
    for (const drawing_format format :
         {drawing_format::svg, drawing_format::pdf, drawing_format::png}) {
        double largest = 0.0; // once one is refused: the largest that fits
        for (double e = 1e-3; e < 1.1e308; e *= 10) {
            section_style style;
            style.exaggeration = e;
            try {
                EXPECT_FALSE(draw_sections({s, s}, style, format).empty());
                EXPECT_EQ(largest, 0.0) << e;
            } catch (const page_too_large& too) {
                if (largest > 0.0) {
                    EXPECT_EQ(too.largest_exaggeration, largest) << e;
                    continue;
                }
                largest = too.largest_exaggeration;
                ASSERT_TRUE(largest > e / 11 && largest < e) << e;
                style.exaggeration = largest;
                EXPECT_FALSE(draw_sections({s, s}, style, format).empty()) << e;
                style.exaggeration = largest * 1.01;
                EXPECT_THROW(draw_sections({s, s}, style, format), page_too_large) << e;
            }
        }
        EXPECT_GT(largest, 0.0);
    }
}
