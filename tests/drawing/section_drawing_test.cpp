// Section drawings: round ticks, the blocks where they belong, a legend colour per horizon, and
// the same file in any locale.
#include "drawing/detail/nice_ticks.hpp"
#include "drawing/section_drawing.hpp"
#include "tests/support/comma_locale.hpp"

#include <cairo.h>
#include <cmath>
#include <gtest/gtest.h>
#include <regex>
#include <set>

using namespace tolvex;

// Over spans of every size: the step is 1, 2 or 5 times a power of ten, the ticks are its
// multiples within the range and about as many as asked for.
TEST(NiceTicks, RoundStepsAndMultiplesWithinTheRange) {
    for (double span = 1e-3; span < 1e7; span *= 1.37) {
        const double step = nice_step(span, 8);
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                    std::abs(mantissa - 5) < 1e-9)
            << span;
        const std::vector<double> ticks = ticks_between(-0.3 * span, 0.7 * span, step);
        EXPECT_GE(ticks.size(), 3u) << span;
        EXPECT_LE(ticks.size(), 21u) << span;
        EXPECT_GE(ticks.front(), -0.3 * span - 1e-9 * span);
        EXPECT_LE(ticks.back(), 0.7 * span + 1e-9 * span);
        const double bar = nice_length(span);
        EXPECT_TRUE(bar <= span && bar > span / 2.5) << span;
    }
}

namespace {

// Two blocks side by side, a horizon across both, a fault between them and a tracer.
section two_blocks() {
    section s;
    s.title = "forward 1/1: 7 N";
    s.line = {4200, 8150, 5800, 9350.5};
    s.blocks = {{0, {{0, -500}, {1000, -500}, {1000, 0}, {0, 0}}},
                {1, {{1000, -500}, {2000, -500}, {2000, -100}, {1000, -100}}}};
    s.horizon_names = {"layer 1"};
    s.horizon_traces = {{0, {0, -250}, {1000, -250}}, {0, {1000, -350}, {2000, -350}}};
    s.fault_labels = {"7"};
    s.fault_traces = {{0, {1000, -500}, {1000, 0}}};
    s.tracers = {{0, {500, -100}}};
    return s;
}

struct png_pixels {
    cairo_surface_t* surface;
    const unsigned char* data;
    int stride;
    std::uint32_t at(int x, int y) const {
        return *reinterpret_cast<const std::uint32_t*>(data + y * stride + 4 * x) & 0xffffffu;
    }
};

cairo_status_t read_bytes(void* closure, unsigned char* data, unsigned int length) {
    auto* text = static_cast<std::string_view*>(closure);
    if (text->size() < length)
        return CAIRO_STATUS_READ_ERROR;
    std::copy(text->begin(), text->begin() + length, data);
    text->remove_prefix(length);
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

TEST(SectionDrawing, BlocksAreFilledWhereTheyLieAndNumbersDoNotFollowTheLocale) {
    const section s = two_blocks();
    section_style style;
    const std::string png = draw_sections({s}, style, drawing_format::png);
    std::string_view stream = png;
    cairo_surface_t* image = cairo_image_surface_create_from_png_stream(read_bytes, &stream);
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    const png_pixels p{image, cairo_image_surface_get_data(image),
                       cairo_image_surface_get_stride(image)};
    // The plot spans the page less the margins and the legend; u runs from -40 to 2040.
    const double scale = (842.0 - 64 - 24 - 140) / 2080.0;
    const int top = 44;
    const auto x = [&](double u) { return static_cast<int>(64 + (u + 40) * scale); };
    const auto y = [&](double z) { return static_cast<int>(top + (40 - z) * scale); };
    const std::uint32_t left = p.at(x(300), y(-400)), right = p.at(x(1500), y(-450));
    EXPECT_NE(left, right);
    EXPECT_NE(left, 0xffffffu);
    EXPECT_EQ(p.at(x(1500), y(-50)), 0xffffffu); // above the lower right block: background
    cairo_surface_destroy(image);

    EXPECT_EQ(draw_sections({s, s}, style, drawing_format::pdf).rfind("%PDF", 0), 0u);
    EXPECT_NE(draw_sections({s}, style, drawing_format::svg).find("<svg"), std::string::npos);
    // Numbers are drawn as glyphs, so a number written another way changes pixels.
    const comma_locale comma;
    if (!comma.active())
        GTEST_SKIP() << "no decimal-comma locale";
    EXPECT_TRUE(draw_sections({s}, style, drawing_format::png) == png);
}

// The legend's swatches are the only lines 3 wide: one per horizon, each in its own colour, none
// the faults' colour, also past the first few horizons.
TEST(SectionDrawing, LegendHasAColourOfItsOwnPerHorizon) {
    section s = two_blocks();
    s.horizon_names.clear();
    for (int h = 0; h < 13; ++h) {
        s.horizon_names.push_back("layer " + std::to_string(h));
        s.horizon_traces.push_back({h, {0, -20.0 * h}, {1000, -20.0 * h}});
    }
    const std::string svg = draw_sections({s}, {}, drawing_format::svg);
    const std::regex swatch(R"(stroke-width(?::|=")3[;"][^>]*?stroke(?::|=")(rgb\([^)]*\)))");
    std::vector<std::string> colours;
    for (auto m = std::sregex_iterator(svg.begin(), svg.end(), swatch); m != std::sregex_iterator();
         ++m)
        colours.push_back((*m)[1]);
    EXPECT_EQ(colours.size(), s.horizon_names.size());
    const std::set<std::string> distinct(colours.begin(), colours.end());
    EXPECT_EQ(distinct.size(), colours.size());
    EXPECT_EQ(distinct.count("rgb(25%,5%,5%)"), 0u);
}
