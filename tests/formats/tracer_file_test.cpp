#include "formats/tracer_file.hpp"
#include "io/file_paths.hpp"
#include "io/input_error.hpp"
#include "tests/support/error_text.hpp"
#include "tests/support/expect_point.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace tolvex;

namespace {
point_list parse(const std::string& text, double radius = 1.0) {
    point_list out;
    parse_tracer_text(text, "t", radius, out);
    return out;
}

std::string error_of(const std::string& text) {
    return error_text([&] { parse(text); });
}
} // namespace

// A blank (space or tab) ends x and y; a comma or semicolon just before it is dropped, any other
// character is part of the value, which must then be a whole number.
TEST(TracerFile, LineRule) {
    expect_point(parse("1.5, 2.5, 3.5").at(0), 1.5, 2.5, 3.5, 0);
    expect_point(parse("1.5,    2.5,   3.5").at(0), 1.5, 2.5, 3.5, 0);
    expect_point(parse("10 20 30").at(0), 10, 20, 30, 0);
    expect_point(parse("12.5 -7.25 3").at(0), 12.5, -7.25, 3, 0);
    expect_point(parse("\t 1,  2 3 \r").at(0), 1, 2, 3, 0);
    EXPECT_EQ(error_of("1x 2y 3"), "t:1: x: \"1x\" is not a number");
    expect_point(parse("1.5; 2.5; 3.5").at(0), 1.5, 2.5, 3.5, 0);
    expect_point(parse("1.5,\t2.5\t3.5").at(0), 1.5, 2.5, 3.5, 0);
    EXPECT_EQ(error_of("1: 2: 3"), "t:1: x: \"1:\" is not a number");
    EXPECT_EQ(error_of("1, 2y 3"), "t:1: y: \"2y\" is not a number");
    EXPECT_EQ(error_of("1.5,2.5,3.5"), "t:1: x: \"1.5,2.5,3.5\" is not a number");
    EXPECT_EQ(error_of("1.5, 2.5"), "t:1: fewer than three values (a blank must follow x and y)");
    EXPECT_EQ(error_of("5"), "t:1: fewer than three values (a blank must follow x and y)");
    EXPECT_EQ(error_of("1, 2, 3, 4"), "t:1: z: \"3, 4\" is not a number");
}

TEST(TracerFile, SkipsCommentsAndBlankLinesAndScales) {
    const point_list points =
        parse("# x, y, z\r\n\r\n \t \n  # indented\n0.5, -1, 2\n1, 1, 1\n", 100);
    ASSERT_EQ(points.size(), 2u);
    expect_point(points[0], 50, -100, 200, 0);
}

TEST(TracerFile, BadLineKeepsThePointsBeforeIt) {
    point_list out{make_vec3(9, 9, 9)};
    EXPECT_THROW(parse_tracer_text("1, 2, 3\n\n4, 5, x\n7, 8, 9\n", "t", 1, out), input_error);
    ASSERT_EQ(out.size(), 1u);
    expect_point(out[0], 1, 2, 3, 0);
}

TEST(TracerWriter, FormatAndRoundTrip) {
    const temp_folder dir;
    const std::string file = (dir.path() / "out.txt").string();
    write_tracer_file(file, {make_vec3(50, -100, 200), make_vec3(123.456789, -50, 0.1)}, 100);
    EXPECT_EQ(read_text(file), "     0.50000000     -1.00000000      2.00000000\n"
                               "     1.23456789     -0.50000000      0.00100000\n");
    point_list back;
    ASSERT_TRUE(read_tracer_file(file, 1, back));
    ASSERT_EQ(back.size(), 2u);
    // Every written decimal reads back.
    expect_point(back[1], 1.23456789, -0.5, 0.001, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    write_tracer_file(file, {}, 100);
    EXPECT_EQ(read_text(file), "");
}

TEST(TracerWriter, FailureKeepsTheOldFileAndLeavesNothingBehind) {
    const temp_folder dir;
    const std::string file = dir.write("old.txt", "old");
    EXPECT_THROW(write_tracer_file(file, {make_vec3(1, 2, 3)}, 0), output_error);

    // A folder at the target: the rename fails after the temporary file was written.
    const std::string folder = (dir.path() / "folder").string();
    std::filesystem::create_directory(folder);
    try {
        write_tracer_file(folder, {make_vec3(1, 2, 3)}, 1);
        FAIL() << "no error";
    } catch (const output_error& e) {
        EXPECT_NE(std::string(e.what()).find(folder), std::string::npos);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);

    // A folder that cannot be written (meaningless for root, who may write anywhere).
    if (::geteuid() != 0) {
        ::chmod(dir.path().c_str(), 0500);
        EXPECT_THROW(write_tracer_file(file, {make_vec3(1, 2, 3)}, 1), output_error);
        ::chmod(dir.path().c_str(), 0700);
    }
    EXPECT_EQ(read_text(file), "old");
}
