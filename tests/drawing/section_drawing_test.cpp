// Section drawings: round ticks, labels apart, the blocks where they belong, text as text, a
// legend colour per horizon, and the same file in any locale.
#include "drawing/detail/label_places.hpp"
#include "drawing/detail/nice_ticks.hpp"
#include "drawing/section_drawing.hpp"
#include "tests/support/comma_locale.hpp"

#include <cairo.h>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
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

// Faults side by side, as close as 2 points apart, crossing the plot at random slants: every
// label lies in the plot beside its own trace, and none overlaps another.
TEST(LabelPlaces, BesideTheirOwnTracesWithoutOverlap) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const page_box area{64, 44, 664, 444};
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<label_request> labels(2 + trial % 14);
        double x = area.left + 40 * u(rng);
        for (label_request& l : labels) {
            x += 2 + 40 * u(rng) * u(rng);
            const double slant = 80 * (u(rng) - 0.5);
            l.width = 12 + 40 * u(rng);
            l.height = 7;
            l.segments = {{page_point{x - slant, area.top}, page_point{x, 240}},
                          {page_point{x, 240}, page_point{x + slant, area.bottom}}};
        }
        const std::vector<page_box> boxes = place_labels(labels, area);
        for (std::size_t k = 0; k < boxes.size(); ++k) {
            const page_box& b = boxes[k];
            EXPECT_TRUE(b.left >= area.left && b.right <= area.right && b.top >= area.top &&
                        b.bottom <= area.bottom)
                << trial << " " << k;
            EXPECT_NEAR(b.right - b.left, labels[k].width, 1e-9);
            bool beside = false; // a corner within 4 points of a point of the trace
            for (const auto& s : labels[k].segments)
                for (double t = 0; t <= 1.0; t += 0.01)
                    for (const double cx : {b.left, b.right})
                        for (const double cy : {b.top, b.bottom})
                            beside =
                                beside || std::hypot(s[0][0] + t * (s[1][0] - s[0][0]) - cx,
                                                     s[0][1] + t * (s[1][1] - s[0][1]) - cy) < 6;
            EXPECT_TRUE(beside) << trial << " " << k;
            for (std::size_t o = 0; o < k; ++o)
                EXPECT_FALSE(std::min(b.right, boxes[o].right) > std::max(b.left, boxes[o].left) &&
                             std::min(b.bottom, boxes[o].bottom) > std::max(b.top, boxes[o].top))
                    << trial << " " << k << " " << o;
        }
    }
}

namespace {

// Two blocks side by side, a horizon across both, a fault between them and a tracer.
section two_blocks() {
    section s;
    s.title = "forward 1/1: 7 N";
    s.path = path_of({4200, 8150, 5400, 9750}); // 2000 long
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
    // The plot spans the page less the margins and the legend, two pixels a point; u runs along
    // the line from 0 to its length, z from -540 to 40.
    const double scale = (842.0 - 64 - 24 - 140) / 2000.0;
    const int top = 44;
    const auto x = [&](double u) { return static_cast<int>(2 * (64 + u * scale)); };
    const auto y = [&](double z) { return static_cast<int>(2 * (top + (40 - z) * scale)); };
    EXPECT_EQ(cairo_image_surface_get_width(image), 2 * 842);
    const std::uint32_t left = p.at(x(300), y(-400)), right = p.at(x(1500), y(-450));
    EXPECT_NE(left, right);
    EXPECT_NE(left, 0xffffffu);
    EXPECT_EQ(p.at(x(1500), y(-50)), 0xffffffu); // above the lower right block: background
    cairo_surface_destroy(image);

    EXPECT_EQ(draw_sections({s, s}, style, drawing_format::pdf).rfind("%PDF", 0), 0u);
    style.pixels = {{1000, 300}};
    const std::string sized_png = draw_sections({s}, style, drawing_format::png);
    std::string_view sized = sized_png;
    image = cairo_image_surface_create_from_png_stream(read_bytes, &sized);
    EXPECT_EQ(cairo_image_surface_get_width(image), 1000);
    EXPECT_EQ(cairo_image_surface_get_height(image), 300);
    cairo_surface_destroy(image);
    // An SVG's text is text: the title with the line's azimuth, the line's end coordinates at
    // its end, the unit on the axes.
    style.units = "m";
    const std::string svg = draw_sections({s}, style, drawing_format::svg);
    for (const char* text : {">forward 1/1: 7 N, azimuth 36.9\u00b0</text>", ">(5400, 9750)</text>",
                             ">distance along the line (m)</text>", ">7</text>"})
        EXPECT_NE(svg.find(text), std::string::npos) << text;
    // Numbers are drawn as glyphs, so a number written another way changes pixels.
    const comma_locale comma;
    if (!comma.active())
        GTEST_SKIP() << "no decimal-comma locale";
    EXPECT_TRUE(draw_sections({s}, section_style{}, drawing_format::png) == png);
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
    // A horizon whose file gave it a colour is drawn in it.
    s.horizon_colours = {{0.1, 0.2, 0.3}};
    EXPECT_NE(draw_sections({s}, {}, drawing_format::svg).find("rgb(10%,20%,30%)"),
              std::string::npos);
}
