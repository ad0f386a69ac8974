// The colours, texts and guides the viewer chooses, without GL: neighbouring blocks differ, the
// elevation scale brightens steadily, faces take the side of the step's fault, label text comes
// out as Latin-1, and the scale bar has a round length.
#include "tests/support/box.hpp"
#include "view_math/frame_mesh.hpp"
#include "view_math/latin1_text.hpp"
#include "view_math/scene_colours.hpp"
#include "view_math/view_guides.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

double lightness(const colour3& c) {
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2];
}

TEST(ViewLook, ConsecutiveBlocksDifferAndStayLightAndTheElevationScaleBrightens) {
    for (std::size_t i = 0; i < 2000; ++i) {
        const colour3 a = block_colour(i), b = block_colour(i + 1);
        const double distance =
            std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
        EXPECT_GT(distance, 0.3) << i;
        EXPECT_GT(lightness(a), 0.55) << i;
    }
    for (int i = 0; i < 100; ++i)
        EXPECT_LT(lightness(elevation_colour(i / 100.0)),
                  lightness(elevation_colour((i + 1) / 100.0)))
            << i;
    EXPECT_EQ(elevation_colour(-5), elevation_colour(0));
    EXPECT_EQ(elevation_colour(7), elevation_colour(1));
}

TEST(ViewLook, FacesTakeTheSideOfTheFaultAndTracersTheirStartingElevation) {
    const block_set cubes = to_block_set({make_cube(10), make_cube(10)});
    const point_list tracers{make_vec3(0, 0, -5), make_vec3(0, 0, 5)};
    const std::vector<double> start_z{-5, 5};
    const std::vector<scene_part> parts{
        {.shape = view_of(cubes, 0), .offset = {0, 0, -20}, .number = 0},
        {.shape = view_of(cubes, 1),
         .tracers = &tracers,
         .offset = {0, 0, 20},
         .number = 1,
         .start_z = &start_z}};
    display_modes modes;
    modes.colouring = face_colouring::fault_side;
    modes.tracers = tracer_look::elevation;
    const frame_mesh mesh = build_frame_mesh(parts, modes, {fault_plane{}, {-5, 5}});
    // 6 faces of 4 corners per cube; each corner's colour 4 bytes.
    ASSERT_EQ(mesh.faces.colours.size(), 2u * 24u * 4u);
    const auto colour_at = [&](std::size_t corner) {
        return colour3{mesh.faces.colours[corner * 4] / 255.0f,
                       mesh.faces.colours[corner * 4 + 1] / 255.0f,
                       mesh.faces.colours[corner * 4 + 2] / 255.0f};
    };
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(colour_at(0)[k], fault_side_colour(false)[k], 0.01);
        EXPECT_NEAR(colour_at(24)[k], fault_side_colour(true)[k], 0.01);
        EXPECT_NEAR(mesh.tracer_colours[k] / 255.0, elevation_colour(0)[k], 0.01);
        EXPECT_NEAR(mesh.tracer_colours[4 + k] / 255.0, elevation_colour(1)[k], 0.01);
    }
    EXPECT_FLOAT_EQ(mesh.tracer_points[5], 25.0f) << "tracers are drawn moved with their block";

    modes.blocks = block_look::hidden;
    modes.tracers = tracer_look::hidden;
    const frame_mesh bare = build_frame_mesh(parts, modes, {});
    EXPECT_TRUE(bare.faces.points.empty() && bare.edge_ends.empty() && bare.tracer_points.empty());
    modes.blocks = block_look::see_through;
    EXPECT_EQ(build_frame_mesh(parts, modes, {}).faces.colours[3], see_through_alpha);
}

// A horizon is drawn in the colour its file gave it, the palette's otherwise.
TEST(ViewLook, AHorizonKeepsItsOwnColour) {
    horizon_pieces pieces;
    pieces.polygons.corners = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    pieces.polygons.end_polygon();
    pieces.horizon = {0};
    pieces.triangle = {0};
    pieces.block = {0};
    scene_part part;
    part.horizons = &pieces;
    const frame_mesh own = build_frame_mesh({part}, {}, {{}, {}, {{0.0, 1.0, 0.0}}});
    EXPECT_EQ(
        std::vector<std::uint8_t>(own.horizons.colours.begin(), own.horizons.colours.begin() + 4),
        (std::vector<std::uint8_t>{0, 255, 0, 255}));
    const frame_mesh palette = build_frame_mesh({part}, {}, {});
    EXPECT_NEAR(palette.horizons.colours[0] / 255.0, palette_colour(0)[0], 0.01);
}

TEST(ViewLook, LabelsBecomeLatin1WithAQuestionMarkForAnythingElse) {
    EXPECT_EQ(latin1_text("S\xC3\xBC"
                          "d Rand"),
              "S\xFC"
              "d Rand");
    EXPECT_EQ(latin1_text("\xE2\x82\xAC 5"), "? 5");   // the euro sign is not Latin-1
    EXPECT_EQ(latin1_text("\xF0\x9F\x98\x80!"), "?!"); // nor is anything past U+FFFF
    EXPECT_EQ(latin1_text("a\xC3"), "a?");             // cut short
    EXPECT_EQ(latin1_text("\xC0\x80x\xFF"), "?x?");    // overlong, never a lead byte
    // Every character up to U+00FF comes through as its own byte.
    for (unsigned code = 1; code < 0x100; ++code) {
        std::string utf8;
        if (code < 0x80)
            utf8 = std::string(1, static_cast<char>(code));
        else
            utf8 = {static_cast<char>(0xC0 | code >> 6), static_cast<char>(0x80 | (code & 0x3F))};
        EXPECT_EQ(latin1_text(utf8), std::string(1, static_cast<char>(code))) << code;
    }
}

TEST(ViewLook, TheScaleBarIsTheLongestRoundLengthThatFits) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> exponent(-4, 8);
    for (int i = 0; i < 1000; ++i) {
        const double longest = std::pow(10.0, exponent(rng));
        const double length = round_length(longest);
        EXPECT_LE(length, longest);
        EXPECT_GT(length, longest / 2.5);
        const double mantissa = length / std::pow(10.0, std::floor(std::log10(length) + 1e-9));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                    std::abs(mantissa - 5) < 1e-9)
            << length;
    }
    // The triad's east arm points right when the eye looks north from the south.
    view_state view;
    view = initial_view(view, {0, -1000, 0});
    EXPECT_NEAR(triad_arms(view)[0][0], 1.0, 1e-6);
    EXPECT_NEAR(triad_arms(view)[2][1], 1.0, 1e-6);
    // At the default 30 degree view 1000 units from the origin, 480 pixels span 536 units.
    view.hh = 480;
    EXPECT_NEAR(units_per_pixel(view) * 480, 2000 * std::tan(15 * 3.14159265358979 / 180), 1e-3);
}

// Hints of any length in windows of any size: every word kept in order, and no line reaching the
// box of the triad and the scale bar.
TEST(ViewLook, HintsAreBrokenToKeepClearOfTheGuides) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> size(40, 2000), word(1, 30), words(0, 40);
    for (int i = 0; i < 500; ++i) {
        view_state view;
        view.ww = size(rng);
        view.hh = size(rng);
        std::vector<std::string> lines(2);
        for (std::string& line : lines)
            for (int w = words(rng); w > 0; --w)
                line += std::string(static_cast<std::size_t>(word(rng)), 'x') + (w > 1 ? " " : "");
        const text_area area = text_area_of(view, 9);
        const std::vector<std::string> shown = wrapped_lines(lines, area.columns);
        std::string joined;
        for (auto line = shown.rbegin(); line != shown.rend(); ++line) {
            EXPECT_LE(line->size(), area.columns);
            const int right = guide_margin + static_cast<int>(line->size()) * 9;
            EXPECT_TRUE(right <= view.ww - guides_width(view) || area.bottom >= guides_height() ||
                        line->empty())
                << view.ww;
            joined += *line;
        }
        std::string words_given;
        for (auto line = lines.rbegin(); line != lines.rend(); ++line)
            for (const char c : *line)
                if (c != ' ')
                    words_given += c;
        std::erase(joined, ' ');
        EXPECT_EQ(joined, words_given);
    }
}

} // namespace
