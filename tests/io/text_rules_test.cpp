#include "io/file_paths.hpp"
#include "io/input_error.hpp"
#include "io/text_fields.hpp"
#include "io/text_lines.hpp"
#include "tests/support/error_text.hpp"
#include "tests/support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace tolvex;

namespace {
std::vector<std::pair<std::string, int>> lines_of(const std::string& text) {
    std::vector<std::pair<std::string, int>> lines;
    for_each_line(text, [&](std::string_view line, int n) { lines.emplace_back(line, n); });
    return lines;
}
} // namespace

TEST(LineReading, LineFeedEndsALineAndCarriageReturnBeforeItIsDropped) {
    using L = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(lines_of("a\r\nb\nc"), (L{{"a", 1}, {"b", 2}, {"c", 3}}));
    EXPECT_EQ(lines_of("a\n"), (L{{"a", 1}, {"", 2}}));
    EXPECT_EQ(lines_of(""), (L{{"", 1}}));
    EXPECT_EQ(lines_of("a\rb\n\n"), (L{{"a\rb", 1}, {"", 2}, {"", 3}}));
    EXPECT_EQ(lines_of("last\r"), (L{{"last", 1}}));
    EXPECT_EQ(lines_of(std::string("x\0y\n", 4)), (L{{std::string("x\0y", 3), 1}, {"", 2}}));
    // A UTF-8 byte-order mark before the first line is not part of it.
    EXPECT_EQ(lines_of("\xEF\xBB\xBFKEY=1\n\xEF\xBB\xBF"), (L{{"KEY=1", 1}, {"\xEF\xBB\xBF", 2}}));
}

TEST(LineReading, MissingFileIsNulloptAndOtherFailuresAreErrorsWithTheReason) {
    const temp_folder dir;
    EXPECT_FALSE(read_text_file((dir.path() / "none").string()));
    EXPECT_EQ(*read_text_file(dir.write("f", "a\r\nb")), "a\r\nb");
    // A folder is no file to read; a link to itself exists but cannot be opened, even by root,
    // whom permission bits do not stop.
    const std::string loop = (dir.path() / "loop").string();
    std::filesystem::create_symlink("loop", loop);
    EXPECT_EQ(error_text([&] { read_text_file(dir.path().string()); }),
              dir.path().string() + ": cannot open the file: Is a directory");
    EXPECT_EQ(error_text([&] { read_text_file(loop); }),
              loop + ": cannot open the file: Too many levels of symbolic links");
}

// A file without line ends (a device such as /dev/zero, a binary file) stops at its first
// overlong line instead of filling the memory.
TEST(LineReading, AnOverlongLineIsAnErrorAtItsLine) {
    const temp_folder dir;
    const std::string path =
        dir.write("long", "a\nb\n" + std::string(max_line_bytes + 1, 'x') + "\nc\n");
    EXPECT_EQ(error_text([&] { read_text_file(path); }),
              path + ":3: the line is longer than 4 MiB: this is no text input file");
}

TEST(Paths, AnAbsoluteNameIsUsedAsItStands) {
    EXPECT_EQ(join_path("/opt/tolvex", "box.boundary"), "/opt/tolvex/box.boundary");
    EXPECT_EQ(join_path("/opt/tolvex", "/data/box.boundary"), "/data/box.boundary");
}

TEST(Fields, SplitKeepsEmptyFieldsAndTrimsEach) {
    using V = std::vector<std::string>;
    EXPECT_EQ(split_fields(" 1 ,\t2\v,,3\f\r ", ','), (V{"1", "2", "", "3"}));
    EXPECT_EQ(split_fields("a\t\tb\t", '\t'), (V{"a", "", "b", ""}));
    EXPECT_EQ(split_fields("", ','), (V{""}));
    EXPECT_EQ(trim_blanks(" \t x y \n"), "x y");
}

TEST(Fields, NumberRuleTakesTheWholeTextInTheClassicLocale) {
    for (const auto& [text, value] : std::vector<std::pair<std::string, double>>{
             {"1.5", 1.5}, {"-2", -2}, {"3e2", 300}, {"+.5", 0.5}, {"1.", 1}, {"1E-3", 0.001}})
        EXPECT_EQ(to_number(text), value) << text;
    for (const char* text :
         {"", " 1", "1 ", "1,5", "1.5x", "1e", ".", "inf", "-nan", "0x10", "1e400", "--1", "1 2"})
        EXPECT_FALSE(to_number(text)) << text;
    EXPECT_FALSE(to_number(std::string("1\0", 2)));
}

TEST(Fields, IntegerRuleIsSignAndDigitsIn32Bits) {
    EXPECT_EQ(to_integer("+7"), 7);
    EXPECT_EQ(to_integer("-2147483648"), -2147483648LL);
    EXPECT_EQ(to_integer("2147483647"), 2147483647);
    for (const char* text :
         {"", "1.0", "2147483648", "-2147483649", "+-1", "-", "1e2", " 1", "0x1"})
        EXPECT_FALSE(to_integer(text)) << text;
}

TEST(Fields, ErrorsNameFileLineFieldAndText) {
    const std::string path = "faults.efd";
    const auto what = [&](auto convert, const std::string& text) {
        return error_text([&] { convert(text, line_ref{path, 7}, "field 8 (slip magnitude)"); });
    };
    EXPECT_EQ(what(number_value, "1.5x"),
              "faults.efd:7: field 8 (slip magnitude): \"1.5x\" is not a number");
    EXPECT_EQ(what(integer_value, "1.5"),
              "faults.efd:7: field 8 (slip magnitude): \"1.5\" is not an integer");
    EXPECT_EQ(what(integer_value, "-99999999999"), "faults.efd:7: field 8 (slip magnitude): "
                                                   "\"-99999999999\" is outside the 32-bit "
                                                   "integer range");
    // Garbage is shown short and printable.
    EXPECT_EQ(quoted_text(std::string(50, 'a')), "\"" + std::string(40, 'a') + "...\"");
    EXPECT_EQ(quoted_text(std::string("a\0\"", 3)), "\"a\\x00\\x22\"");
}
