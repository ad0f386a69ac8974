// Horizon files: GOCAD TSurf, OBJ and VTK surfaces in, the same out, and every malformed line
// named.
#include "formats/horizon_file.hpp"
#include "io/input_error.hpp"
#include "tests/support/error_text.hpp"

#include <gtest/gtest.h>
#include <random>

using namespace tolvex;

namespace {

std::vector<horizon> two_horizons() {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(-1, 1);
    std::vector<horizon> out(2);
    out[0].name = "Top Jurassic";
    out[1].name = "Süd 2";
    for (horizon& h : out) {
        for (int k = 0; k < 9; ++k)
            h.vertices.push_back(
                make_vec3(512345.678 + 1000 * u(rng), 5.4e6 + 1000 * u(rng), -1500 + 0.1 * u(rng)));
        for (int k = 0; k + 2 < 9; ++k)
            h.triangles.push_back({k, k + 1, k + 2});
    }
    out[0].property_names = {"porosity", "net gross"};
    for (int k = 0; k < 18; ++k)
        out[0].property_values.push_back(u(rng));
    out[0].metadata = {{{0.25, 0.5, 1.0}}, "Top \"J\"", "top", "\"m\" \"m\" \"m\"", true};
    return out;
}

// What a format holds besides the shape.
enum class kept { shape, properties_and_colour, everything };

void expect_same(const std::vector<horizon>& a, const std::vector<horizon>& b,
                 kept what = kept::shape) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_EQ(a[k].name, b[k].name);
        ASSERT_EQ(a[k].vertices.size(), b[k].vertices.size());
        for (std::size_t i = 0; i < a[k].vertices.size(); ++i)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(a[k].vertices[i][c], b[k].vertices[i][c]);
        EXPECT_EQ(a[k].triangles, b[k].triangles);
        if (what == kept::shape)
            continue;
        EXPECT_EQ(b[k].property_values, a[k].property_values);
        EXPECT_EQ(b[k].metadata.colour, a[k].metadata.colour);
        if (what != kept::everything)
            continue;
        EXPECT_EQ(b[k].property_names.size(), a[k].property_names.size());
        EXPECT_EQ(b[k].metadata.feature, a[k].metadata.feature);
        EXPECT_EQ(b[k].metadata.type, a[k].metadata.type);
        EXPECT_EQ(b[k].metadata.axis_unit, a[k].metadata.axis_unit);
        EXPECT_EQ(b[k].metadata.depth, a[k].metadata.depth);
    }
}

} // namespace

TEST(HorizonFile, EachWriterReadsBackToTheSameHorizons) {
    // The example's layers, behind their comment lines.
    const std::vector<horizon> layers = read_horizon_file(TOLVEX_EXAMPLES "/horizons.ts");
    ASSERT_EQ(layers.size(), 5u);
    EXPECT_EQ(layers[4].name, "layer 5");
    EXPECT_EQ(layers[4].triangles.size(), 504u);
    const std::vector<horizon> h = two_horizons();
    expect_same(parse_horizon_text(horizons_to_tsurf(h), "h.ts"), h, kept::everything);
    expect_same(parse_horizon_text(horizons_to_obj(h), "h.obj"), h);
    expect_same(parse_horizon_text(horizons_to_vtk(h), "h.vtk"), h, kept::properties_and_colour);
}

// What other programs write: aliases, depth axes, one-line headers, relative and slashed OBJ
// corners, n-gons, the VTK 5 cell form and triangle strips.
TEST(HorizonFile, ReadsTheFormsOtherProgramsWrite) {
    const std::vector<horizon> ts = parse_horizon_text(
        "GOCAD TSurf 1\nHEADER {name:\"Base\"}\nGOCAD_ORIGINAL_COORDINATE_SYSTEM\nZPOSITIVE "
        "Depth\nEND_ORIGINAL_COORDINATE_SYSTEM\nTFACE\nPVRTX 10 0 0 100 7\nVRTX 11 1 0 100\n"
        "VRTX 12 0 1 110\nATOM 13 11\nTRGL 10 11 12\nTFACE\nVRTX 14 1 1 100\nTRGL 13 14 12\n"
        "BSTONE 10\nEND\nGOCAD TSurf 1\nHEADER {\n  name: Top\n}\nVRTX 1 0 0 0\nVRTX 2 1 0 0\n"
        "VRTX 3 0 1 0\nTRGL 1 2 3\nEND\n",
        "any.txt");
    ASSERT_EQ(ts.size(), 2u);
    EXPECT_EQ(ts[0].name, "Base");
    EXPECT_EQ(ts[0].vertices[2][2], -110.0);
    EXPECT_EQ(ts[0].triangles, (std::vector<triangle>{{0, 1, 2}, {1, 3, 2}}));
    EXPECT_EQ(ts[1].name, "Top");

    const std::vector<horizon> obj =
        parse_horizon_text("mtllib a.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n"
                           "f 1/1/1 2/1/1 3/1/1 4/1/1\ng second one\nf -1//1 -2//1 -3//1\n",
                           "layers.obj");
    ASSERT_EQ(obj.size(), 2u);
    EXPECT_EQ(obj[0].name, "layers");
    EXPECT_EQ(obj[0].triangles, (std::vector<triangle>{{0, 1, 2}, {0, 2, 3}}));
    EXPECT_EQ(obj[1].name, "second one");
    EXPECT_EQ(obj[1].vertices.size(), 3u);

    const std::vector<horizon> vtk = parse_horizon_text(
        "# vtk DataFile Version 5.1\nx\nASCII\nDATASET POLYDATA\nPOINTS 5 float\n0 0 0 1 0 0\n"
        "1 1 0 0 1 0 2 2 0\nPOLYGONS 2 3\nOFFSETS vtktypeint64\n0 3\nCONNECTIVITY "
        "vtktypeint64\n0 1 2\nTRIANGLE_STRIPS 1 5\n4 0 1 3 2\nPOINT_DATA 5\nSCALARS s float\n"
        "LOOKUP_TABLE default\n1 2 3 4 5\n",
        "s.vtk");
    ASSERT_EQ(vtk.size(), 1u);
    EXPECT_EQ(vtk[0].triangles.size(), 3u);
}

TEST(HorizonFile, EveryMalformedLineIsNamedWithItsReason) {
    const std::string ts = "GOCAD TSurf 1\nVRTX 1 0 0 0\nVRTX 2 1 0 0\nVRTX 3 0 1 0\n";
    const std::string vtk = "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\n";
    const struct {
        std::string text, path;
        std::string error; // the start of what() after the path
    } cases[] = {
        {"VRTX 1 0 0 0\n", "a.ts", ":1: \"VRTX\": a TSurf object starts with"},
        {ts + "VRTX 4 0 0 x\nEND\n", "a.ts", ":5: z: \"x\" is not a number"},
        {ts + "VRTX 4 0 0\nEND\n", "a.ts", ":5: VRTX needs 4 values, 3 found"},
        {ts + "VRTX 3 0 0 1\nEND\n", "a.ts", ":5: VRTX: vertex id 3 is given twice"},
        {ts + "TRGL 1 2 9\nEND\n", "a.ts", ":5: corner 3: vertex 9 is not given"},
        {ts + "TRGL 1 2 2\nEND\n", "a.ts", ":5: TRGL names one vertex twice"},
        {ts + "ATOM 4 8\nEND\n", "a.ts", ":5: the vertex it repeats: vertex 8"},
        {ts + "TRGL 1 2 3\n", "a.ts", ":5: the TSurf object begun on line 1 has no END"},
        {"GOCAD TSurf 1\nPROPERTIES a\nPVRTX 1 0 0 0 x\nEND\n", "a.ts",
         ":3: property \"a\": \"x\" is not a number"},
        {"GOCAD TSurf 1\nPROPERTIES a b\nPVRTX 1 0 0 0 1\nEND\n", "a.ts",
         ":3: PVRTX needs 2 property values after x, y and z, 1 found"},
        {"v 0 0 0\nv 1 0\n", "a.obj", ":2: v needs x, y and z"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n", "a.obj", ":4: corner 3: vertex 4 does not"},
        {"v 0 0 0\nv 1 0 0\nf 1 2\n", "a.obj", ":3: f needs three corners or more"},
        {"v 0 0 0\nv 1 0 0\nf 1 2 1\n", "a.obj", ":3: f names one vertex twice"},
        {"v 0 0 0\ncurv 1 2\n", "a.obj", ":2: \"curv\" is not an OBJ statement"},
        {"# vtk DataFile Version 3.0\nx\nBINARY\nDATASET POLYDATA\n", "a.vtk",
         ":3: \"BINARY\": only ASCII VTK files are read"},
        {vtk + "POINTS 2 double\n0 0 0\n1 1\n", "a.vtk", ":7: the file ends where z should"},
        {vtk + "POINTS 3 double\n0 0 0 1 0 0 0 1 0\nPOLYGONS 1 4\n3 0 1 3\n", "a.vtk",
         ":8: a cell corner: point 3 does not exist"},
        {vtk + "POINTS 1 double\n0 0 0\nPOINT_DATA 1\nSCALARS a double\nLOOKUP_TABLE default\nq\n",
         "a.vtk", ":10: a scalar: \"q\" is not a number"},
        {vtk + "POINTS 1 double\n0 0 0\nCELLS 1 2\n", "a.vtk",
         ":7: \"CELLS\" is not a section of VTK polydata"},
        // Counts are weighed against the rest of the file before anything is sized by them.
        {vtk + "POINTS 3 double\n0 0 0 1 0 0 0 1 0\nPOLYGONS 2147483647 4\n3 0 1 2\n", "a.vtk",
         ":7: the cell count: 2147483647 values are more than the rest of the file holds"},
        {vtk + "POINTS 715827883 double\n0 0 0\n", "a.vtk", ":5: the point count: 2147483649"},
        {vtk + "FIELD f 1\nhorizon_name 65536 65536 string\na\n", "a.vtk",
         ":6: the array \"horizon_name\": 4294967296 values"},
        {vtk + "CELL_DATA 65536\nSCALARS horizon int 65536\n0\n", "a.vtk",
         ":6: the scalars: 4294967296 values"},
        // Names are data: a control character would start a line of its own in a written file.
        {ts + "HEADER {\nname: a\vb\n}\nEND\n", "a.ts", ":6: name: \"a\\x0bb\" holds a control"},
        {"g a\x01\n", "a.obj", ":1: the name: \"a\\x01\" holds a control"},
        {vtk + "FIELD f 1\nhorizon_name 1 1 string\na%0AEND\n", "a.vtk",
         ":7: a horizon name: \"a\\x0aEND\" holds a control"},
    };
    for (const auto& c : cases) {
        const std::string e = error_text([&] { parse_horizon_text(c.text, c.path); });
        EXPECT_EQ(e.rfind(c.path + c.error, 0), 0u) << c.text << "\n-> " << e;
    }
}

// Every name a user may give comes back from every writer: blanks, quotes, braces, escapes and
// non-ASCII letters inside it.
TEST(HorizonFile, EveryWriterKeepsEveryName) {
    const std::vector<std::string> pieces = {"a", "Z", " ", "}",  "{",       "\"",
                                             "%", "#", ":", "\\", "\xC3\xBC"};
    std::mt19937 rng(29);
    std::vector<horizon> h(300);
    for (horizon& one : h) {
        while (one.name.empty() || one.name.front() == ' ' || one.name.back() == ' ') {
            one.name.clear();
            for (std::size_t k = 1 + rng() % 6, i = 0; i < k; ++i)
                one.name += pieces[rng() % pieces.size()];
        }
        one.vertices = {make_vec3(0, 0, 0), make_vec3(1, 0, 0), make_vec3(0, 1, 0)};
        one.triangles = {{0, 1, 2}};
    }
    for (const auto& [text, path] : {std::pair{horizons_to_tsurf(h), "h.ts"},
                                     {horizons_to_obj(h), "h.obj"},
                                     {horizons_to_vtk(h), "h.vtk"}})
        expect_same(parse_horizon_text(text, path), h);
}

// A "horizon" cell value of any size or sign makes a group of its own, in ascending order, named
// only where it is a whole number with a "horizon_name"; an object without triangles is left out
// by every reader alike.
TEST(HorizonFile, AnyCellValueIsAGroupAndEmptyObjectsGo) {
    const std::string vtk = "# vtk DataFile Version 3.0\nx\nASCII\nDATASET POLYDATA\n"
                            "FIELD f 1\nhorizon_name 1 1 string\nzero\n"
                            "POINTS 3 double\n0 0 0 1 0 0 0 1 0\nPOLYGONS 4 16\n"
                            "3 0 1 2\n3 0 1 2\n3 0 1 2\n3 0 1 2\n"
                            "CELL_DATA 4\nSCALARS horizon double 1\nLOOKUP_TABLE default\n"
                            "1e300 -1 0 2.5\n";
    std::vector<std::string> names;
    for (const horizon& h : parse_horizon_text(vtk, "a.vtk"))
        names.push_back(h.name);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "zero", "a 3", "a 4"}));
    const std::string ts = "GOCAD TSurf 1\nVRTX 1 0 0 0\nEND\n";
    std::vector<std::string> warnings;
    for (const auto& [text, path] : {std::pair{ts, "e.ts"}, {"v 0 0 0\ng x\n", "e.obj"}}) {
        EXPECT_TRUE(parse_horizon_text(text, path, [&](const std::string& w) {
                        warnings.push_back(w);
                    }).empty());
    }
    EXPECT_EQ(warnings, (std::vector<std::string>{"e.ts: the file holds no triangle",
                                                  "e.obj: the file holds no triangle"}));
}
