#include "boundary_file.hpp"
#include "error_text.hpp"
#include "file_paths.hpp"
#include "input_error.hpp"
#include "temp_dir.hpp"

#include <gtest/gtest.h>

using namespace tolvex;

namespace {
block parse(const std::string& text) {
    return parse_boundary_text(text, "box");
}

std::string error_of(const std::string& text) {
    return error_text([&] { parse(text); });
}
} // namespace

TEST(BoundaryFile, SingleLines) {
    block b = parse("VERTEX=1.5, -2 ,3e2\nVERTEX=1,2,3,4\n");
    ASSERT_EQ(b.vertices.size(), 2u);
    EXPECT_EQ(b.vertices[0][0], 1.5);
    EXPECT_EQ(b.vertices[0][1], -2.0);
    EXPECT_EQ(b.vertices[0][2], 300.0);
    EXPECT_EQ(b.vertices[1][2], 3.0);

    b = parse("FACE=4,0,1,2,3,0,0,-1\nFACE=0,0,0,1\nFACE=-2,1,0,0\nVERTEX=0,0,0\nVERTEX=1,0,0\n"
              "VERTEX=1,1,0\nVERTEX=0,1,0\nEDGE=3,0\n");
    ASSERT_EQ(b.faces.size(), 3u);
    EXPECT_EQ(b.faces[0].indices, (index_list{0, 1, 2, 3}));
    EXPECT_EQ(b.faces[0].normal[2], -1.0);
    EXPECT_TRUE(b.faces[1].indices.empty());
    EXPECT_EQ(b.faces[1].normal[2], 1.0);
    EXPECT_EQ(b.faces[2].normal[0], 1.0);
    EXPECT_EQ(b.edges, (std::vector<edge>{{3, 0}}));

    b = parse("vertex=1,2,3\n VERTEX=1,2,3\n#VERTEX=1,2,3\nVERTEX =1,2,3\n\n");
    EXPECT_TRUE(b.vertices.empty());
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
    EXPECT_EQ(parse("EDGE=0,1\nVERTEX=0,0,0\nVERTEX=1,0,0").edges.size(), 1u);
    EXPECT_EQ(error_of("VERTEX=0,0,0\nEDGE=0,0\nFACE=2,0,1,0,0,1\nEDGE=-1,0"),
              "box:3: FACE= value 3 (corner 2): vertex 1 does not exist (the file has 1 vertices)");
    EXPECT_EQ(error_of("EDGE=0,-1\nVERTEX=0,0,0"),
              "box:1: EDGE= value 2 (b): vertex -1 does not exist (the file has 1 vertices)");
}

TEST(BoundaryFile, LineEndsAndOrderDoNotMatter) {
    const std::string lf = "VERTEX=0,0,0\nEDGE=0,1\nVERTEX=1,0,0\nFACE=2,0,1,0,0,1\nVERTEX=2,0,0\n";
    const std::string grouped =
        "VERTEX=0,0,0\r\nVERTEX=1,0,0\r\nVERTEX=2,0,0\r\nEDGE=0,1\r\nFACE=2,0,1,0,0,1";
    const block a = parse(lf);
    const block b = parse(grouped);
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    for (std::size_t i = 0; i < a.vertices.size(); ++i)
        EXPECT_EQ(a.vertices[i][0], b.vertices[i][0]);
    EXPECT_EQ(a.edges, b.edges);
    EXPECT_EQ(a.faces[0].indices, b.faces[0].indices);
}
