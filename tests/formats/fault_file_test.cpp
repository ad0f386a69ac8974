#include "formats/fault_file.hpp"
#include "io/input_error.hpp"
#include "tests/support/error_text.hpp"
#include "tests/support/fault_line.hpp"

#include <gtest/gtest.h>

using namespace tolvex;

namespace {
// line with field n (from 1) replaced by text.
std::string with_field(std::string line, int n, const std::string& text) {
    std::size_t start = 0;
    for (int i = 1; i < n; ++i)
        start = line.find('\t', start) + 1;
    const std::size_t end = line.find('\t', start);
    return line.replace(start, end == std::string::npos ? end : end - start, text);
}
} // namespace

TEST(FaultFile, ReadsEveryFieldAndNegatesTheSlip) {
    const std::vector<fault> faults = parse_fault_text(fault_line(3, 9, " tag ") + "\n", "f");
    ASSERT_EQ(faults.size(), 1u);
    const fault& f = faults[0];
    EXPECT_EQ(f.name, "F3");
    EXPECT_EQ(f.plane_angles, (std::array<double, 2>{30, 60}));
    EXPECT_EQ(f.slip_angles, (std::array<double, 2>{120, 45}));
    EXPECT_EQ(f.tag, "tag");
    EXPECT_EQ(f.id, 3);
    EXPECT_EQ(f.slip_mag, 2.5);
    EXPECT_EQ(f.slip_dir[2], -1.0);
    EXPECT_EQ(f.normal[1], 0.5);
    EXPECT_EQ(f.point[2], 30.0);
    EXPECT_EQ(f.order, 9);
    EXPECT_EQ(f.key, 9.0);
}

TEST(FaultFile, SkipsCommentsAndBlankLinesAndSortsByDescendingOrder) {
    const std::string text = "  # id\tname\r\n\n \t \n" + fault_line(1, 2) + "\r\n  " +
                             fault_line(2, 7) + " \t\n" + fault_line(3, -1) + "\n" +
                             fault_line(4, 7);
    const std::vector<fault> faults = parse_fault_text(text, "f");
    std::vector<int> ids;
    for (const fault& f : faults)
        ids.push_back(f.id);
    EXPECT_EQ(ids, (std::vector<int>{2, 4, 1, 3}));
}

TEST(FaultFile, EmptyFieldsAreTextsButNotNumbers) {
    const std::string no_tag = with_field(fault_line(5, 1), 6, "") + "\textra";
    const std::vector<fault> faults = parse_fault_text(no_tag, "f");
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].tag, "");
    // White space at both ends of the line goes before it is cut, a tab included.
    const std::vector<fault> indented = parse_fault_text("\t " + fault_line(6, 1) + " \t", "f");
    ASSERT_EQ(indented.size(), 1u);
    EXPECT_EQ(indented[0].name, "F6");
    EXPECT_EQ(indented[0].id, 6);

    try {
        parse_fault_text("#\n\n" + with_field(no_tag, 3, ""), "a/f.efd");
        FAIL() << "no error";
    } catch (const input_error& e) {
        EXPECT_STREQ(e.what(), "a/f.efd:3: field 3 (plane inclination): \"\" is not a number");
    }
}

TEST(FaultFile, BadLinesNameTheLineAndField) {
    const auto reason = [](const std::string& text) {
        return error_text([&] { parse_fault_text(text, "f"); });
    };
    const std::string line = fault_line(1, 1);
    EXPECT_EQ(reason(line.substr(0, line.rfind('\t'))),
              "f:1: 18 tab-separated fields needed, 17 found");
    EXPECT_EQ(reason("\n" + with_field(line, 8, "1.5x")),
              "f:2: field 8 (slip magnitude): \"1.5x\" is not a number");
    EXPECT_EQ(reason(with_field(with_field(with_field(line, 12, "0"), 13, "0.0"), 14, "-0")),
              "f:1: fields 12 to 14 (plane normal): \"0\", \"0.0\", \"-0\" is the zero vector");
    EXPECT_EQ(reason(with_field(with_field(with_field(line, 9, "0"), 10, "0"), 11, "0")),
              "f:1: fields 9 to 11 (slip direction): \"0\", \"0\", \"0\" is the zero vector");
    EXPECT_EQ(reason(with_field(line, 7, "a")),
              "f:1: field 7 (identifier): \"a\" is not an integer");
    EXPECT_EQ(reason(with_field(line, 18, "1.0")),
              "f:1: field 18 (sequence number): \"1.0\" is not an integer");
    EXPECT_EQ(
        reason(with_field(line, 18, "3000000000")),
        "f:1: field 18 (sequence number): \"3000000000\" is outside the 32-bit integer range");
    EXPECT_EQ(reason(with_field(line, 12, "1,5")),
              "f:1: field 12 (normal x): \"1,5\" is not a number");
    EXPECT_EQ(reason(with_field(line, 6, "N\x01G")),
              "f:1: field 6 (tag): \"N\\x01G\" holds a control character, which a name must not");
    // Of several bad fields, the first in the line is named.
    EXPECT_EQ(reason(with_field(with_field(line, 11, "z"), 10, "y")),
              "f:1: field 10 (slip y): \"y\" is not a number");
}

TEST(FaultFile, ListLineWidths) {
    fault f;
    f.id = 1;
    f.plane_angles = {1000, 5};
    f.slip_angles = {12.34, -3.25};
    f.tag = "N";
    f.order = 42;
    EXPECT_EQ(fault_list_line(f), "         1 1000.0  5.0  12.3 -3.2 N    42");
    f.tag = std::string(300, 't') + std::string(1, '\0') + "x";
    EXPECT_EQ(fault_list_line(f).size(), 41u - 1 + 302);
}
