#include "formats/boundary_file.hpp"
#include "io/file_paths.hpp"
#include "io/input_error.hpp"
#include "tests/support/box.hpp"
#include "tests/support/error_text.hpp"

#include <gtest/gtest.h>

using namespace tolvex;

namespace {
block parse(const std::string& text) {
    return parse_boundary_text(text, "box");
}

std::string error_of(const std::string& text) {
    return error_text([&] { parse(text); });
}

// Lines 1-8 the corners (0-3 at z = 0, 4-7 at z = 2), lines 9-20 the edges, lines 21-26 the faces.
const std::string box = box_boundary(make_vec3(0, 0, 0), make_vec3(2, 2, 2));

// text with its first "from" replaced by "to".
std::string edited(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}
} // namespace

TEST(BoundaryFile, SingleLines) {
    std::string text = box_boundary(make_vec3(-2, -2, -2), make_vec3(1.5, 1.5, 300));
    text = edited(text, "VERTEX=1.5,-2,300", "VERTEX=1.5, -2 ,3e2");
    text = edited(text, "VERTEX=-2,-2,-2", "VERTEX=-2,-2,-2,4");
    text = edited(text, "FACE=4,0,3,2,1,0,0,-1", "FACE=4,0,3,2,1,0,0,-1,7");
    text += "vertex=1,2,3\n VERTEX=1,2,3\n#VERTEX=1,2,3\nVERTEX =1,2,3\n\n";
    const block b = parse(text);
    ASSERT_EQ(b.vertices.size(), 8u);
    EXPECT_EQ(b.vertices[5][0], 1.5);
    EXPECT_EQ(b.vertices[5][1], -2.0);
    EXPECT_EQ(b.vertices[5][2], 300.0);
    EXPECT_EQ(b.vertices[0][2], -2.0);
    ASSERT_EQ(b.faces.size(), 6u);
    EXPECT_EQ(b.faces[0].indices, (corner_list{0, 3, 2, 1}));
    EXPECT_EQ(b.faces[0].normal[2], -1.0);
    EXPECT_EQ(b.faces[5].normal[0], -1.0);
    EXPECT_EQ(b.edges[3], (edge{3, 0}));
}

TEST(BoundaryFile, BadValuesNameTheLineAndValue) {
    EXPECT_EQ(error_of("#\nVERTEX=1,,2,3"), "box:2: VERTEX= value 2 (y): \"\" is not a number");
    EXPECT_EQ(error_of("VERTEX=a,b,c"), "box:1: VERTEX= value 1 (x): \"a\" is not a number");
    EXPECT_EQ(error_of("EDGE=0,1.0"), "box:1: EDGE= value 2 (b): \"1.0\" is not an integer");
    EXPECT_EQ(error_of("FACE=3,0,1,2,0,0,0.5"),
              "box:1: FACE= value 7 (normal z): \"0.5\" is not an integer");
    EXPECT_EQ(error_of("VERTEX=1,2"), "box:1: VERTEX= needs 3 values, 2 found");
    EXPECT_EQ(error_of("EDGE=1"), "box:1: EDGE= needs 2 values, 1 found");
    EXPECT_EQ(error_of("FACE=3,0,1,2,0,0"), "box:1: FACE= needs 7 values, 6 found");
    EXPECT_EQ(error_of("FACE=2147483647,1"), "box:1: FACE= needs 2147483651 values, 2 found");
    EXPECT_EQ(error_of("FACE="),
              "box:1: FACE= value 1 (number of corners): \"\" is not an integer");
}

TEST(BoundaryFile, IndicesAreCheckedAgainstTheWholeVertexList) {
    // An edge may come before the vertices it joins.
    EXPECT_EQ(parse("EDGE=0,1\n" + edited(box, "EDGE=0,1\n", "")).edges.size(), 12u);
    EXPECT_EQ(error_of("VERTEX=0,0,0\nEDGE=0,0\nFACE=2,0,1,0,0,1\nEDGE=-1,0"),
              "box:3: FACE= value 3 (corner 2): vertex 1 does not exist (the file has 1 vertices)");
    EXPECT_EQ(error_of("EDGE=0,-1\nVERTEX=0,0,0"),
              "box:1: EDGE= value 2 (b): vertex -1 does not exist (the file has 1 vertices)");
}

TEST(BoundaryFile, LineEndsAndOrderDoNotMatter) {
    // The same lines, once grouped by kind with CR LF ends, once dealt out in turn with LF ends.
    std::vector<std::string> kinds[3];
    std::string grouped;
    for (std::size_t at = 0, end; (end = box.find('\n', at)) != std::string::npos; at = end + 1) {
        const std::string line = box.substr(at, end - at);
        grouped += line + "\r\n";
        kinds[line[0] == 'V' ? 0 : line[0] == 'E' ? 1 : 2].push_back(line);
    }
    std::string dealt;
    for (std::size_t i = 0; i < 12; ++i)
        for (const auto& kind : {kinds[2], kinds[1], kinds[0]})
            if (i < kind.size())
                dealt += kind[i] + "\n";
    const block a = parse(dealt);
    const block b = parse(grouped);
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    for (std::size_t i = 0; i < a.vertices.size(); ++i)
        EXPECT_EQ(a.vertices[i][2], b.vertices[i][2]);
    EXPECT_EQ(a.edges, b.edges);
    ASSERT_EQ(a.faces.size(), b.faces.size());
    for (std::size_t i = 0; i < a.faces.size(); ++i)
        EXPECT_EQ(a.faces[i].indices, b.faces[i].indices);
}

// Each case is a small edit of the good box; the error names the line that shows the fault.
TEST(BoundaryFile, BoundaryThatIsNoClosedConvexPolyhedronIsRejectedAtTheLineThatShowsIt) {
    const std::string top = "FACE=4,4,5,6,7,0,0,1\n";
    const std::string dent = "VERTEX=1,1,1.5\nEDGE=4,8\nEDGE=5,8\nEDGE=6,8\nEDGE=7,8\n"
                             "FACE=3,4,5,8,0,0,1\nFACE=3,5,6,8,0,0,1\nFACE=3,6,7,8,0,0,1\n"
                             "FACE=3,7,4,8,0,0,1\n";
    const struct {
        std::string text;
        int line;
        std::string reason; // a part of it
    } cases[] = {
        {edited(box, "FACE=4,1,2,6,5,1,0,0\n", ""), 10,
         "the edge from vertex 1 to vertex 2 lies on 1 face; in a closed boundary every edge lies "
         "on exactly 2 (a face may be missing)"},
        {edited(box, "FACE=4,1,2,6,5", "FAC=4,1,2,6,5"), 10, "lies on 1 face"},
        {edited(box, top, dent), 7,
         "vertex 6 lies 0.894427 outside the plane of the face on line 27: the boundary is not "
         "convex"},
        {edited(box, top, top + top), 23, "the same corners as the face on line 22"},
        {edited(box, "VERTEX=0,2,2", "VERTEX=2,2,2"), 8,
         "vertex 7 lies at the same place as vertex 6"},
        {"VERTEX=0,0,0\nVERTEX=2,0,0\nVERTEX=0,2,0\nVERTEX=0.5,0.5,0\nEDGE=0,1\nEDGE=1,2\n"
         "EDGE=2,0\nEDGE=0,3\nEDGE=1,3\nEDGE=2,3\nFACE=3,0,2,1,0,0,-1\nFACE=3,0,1,3,0,-1,1\n"
         "FACE=3,1,2,3,1,1,1\nFACE=3,2,0,3,-1,0,1\n",
         11, "the boundary is flat"},
        {edited(box, "EDGE=0,1\n", "EDGE=0,1\nEDGE=1,0\n"), 10,
         "EDGE= repeats the edge on line 9 (from vertex 1 to vertex 0)"},
        {edited(box, top, "FACE=0,0,0,1\n"), 22,
         "FACE= has 0 distinct corners; a face needs at least 3"},
        {edited(box, "EDGE=0,4\n", ""), 22,
         "the side from vertex 4 to vertex 0 of this face has no EDGE= line"},
        {edited(box, "EDGE=0,4", "EDGE=0,6"), 17,
         "the edge from vertex 0 to vertex 6 is a side of no face"},
        {edited(box, "VERTEX=2,2,2", "VERTEX=2,2,2.25"), 22,
         "FACE= is not flat: vertex 7 lies 0.248069 off the plane through vertices 4, 5 and 6"},
        {box + "VERTEX=1,1,1\n", 27, "vertex 8 is a corner of no face"},
        {"VERTX=1,2,3\n\x01\x02", 0, "no VERTEX= line"},
    };
    for (const auto& c : cases) {
        try {
            parse(c.text);
            ADD_FAILURE() << "accepted:\n" << c.text;
        } catch (const input_error& e) {
            EXPECT_EQ(e.line(), c.line) << e.what();
            EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.what();
        }
    }
    EXPECT_NO_THROW(parse(box));
}

// Boundaries come from programs that round to a few decimals: a face flat to the digits written
// passes, one bent beyond them does not. A FACE= normal only steers drawing, so a wrong one is a
// warning at its line.
TEST(BoundaryFile, FacesFlatToTheWrittenDecimalsPassAndWrongNormalsAreWarnings) {
    const std::string tilted =
        box_boundary(make_vec3(500000, 4000000, -1000), make_vec3(502000, 4002000, 0));
    const auto with_top = [&](const std::string& z6, const std::string& z7) {
        std::string text =
            edited(tilted, "VERTEX=502000,4002000,0", "VERTEX=502000.0000,4002000.0000," + z6);
        return edited(text, "VERTEX=500000,4002000,0", "VERTEX=500000.0000,4002000.0000," + z7);
    };
    // The top rises 100 m to the north: 100.0000 and 100.0001 are the same height to 4 decimals.
    EXPECT_NO_THROW(parse(with_top("100.0000", "100.0001")));
    EXPECT_NE(error_text([&] { parse(with_top("100.0000", "101.5")); }).find("is not flat"),
              std::string::npos);
    std::vector<std::string> warnings;
    const std::string inward = edited(box, "FACE=4,4,5,6,7,0,0,1", "FACE=4,4,5,6,7,0,0,0");
    parse_boundary_text(inward, "b", [&](const std::string& w) { warnings.push_back(w); });
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("b:22: the FACE= normal 0,0,0 does not point out", 0), 0u)
        << warnings[0];
}
