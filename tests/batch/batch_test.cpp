// tolvex-batch end to end: exit statuses, messages and the files it writes.
#include "run_fixture.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace {

using namespace run_test;

struct outcome {
    int status = -1;
    std::string output; // standard error and standard output together
};

std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

outcome run_batch(const std::string& args) {
    outcome o;
    const std::string cmd = quoted(TOLVEX_BATCH) + " " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (p == nullptr)
        return o;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        o.output.append(buf.data(), n);
    const int raw = pclose(p);
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return o;
}

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::size_t count_lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// The cube [0,2]^3 with tracers relative to its centre and one fault through the centre whose
// upper side moves 2 along +x in the forward run.
class Batch : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("cube.boundary", box_boundary(0, 0, 0, 2, 2, 2));
        dir.write("cube.tracers", "0.5, 0.5, 0.5\n0, 0, 0\n0, 0, -0.5\n");
        dir.write("cube.efd", fault_line(1, 2.0, {1, 0, 0}, {0, 0, 1}, {1, 1, 1}, 1));
        dir.write("tolvex.conf", "BOUNDARY_FILE=cube.boundary\nTRACER_I_FILE=cube.tracers\n"
                                 "TRACER_RADIUS=1\n");
    }
    std::string cube_args() const {
        return "--config " + quoted(dir.file("tolvex.conf")) + " --faults " +
               quoted(dir.file("cube.efd"));
    }
    temp_folder dir;
};

TEST_F(Batch, WritesTheForwardTracersOfAModelKnownByHand) {
    const outcome o = run_batch(cube_args() + " --save-tracers " + quoted(dir.file("out.txt")));
    ASSERT_EQ(o.status, 0) << o.output;
    EXPECT_EQ(read_all(dir.file("out.txt")), "     2.50000000      0.50000000      0.50000000\n"
                                             "     2.00000000      0.00000000      0.00000000\n"
                                             "     0.00000000      0.00000000     -0.50000000\n");
    EXPECT_NE(o.output.find("1 faults, 2 blocks, 3 tracers"), std::string::npos) << o.output;
}

TEST_F(Batch, ExplicitFilesOverrideTheConfigurationAndNeedNoConfiguration) {
    dir.write("other.tracers", "0.5, 0.5, 0.5\n");
    const outcome o = run_batch("--boundary " + quoted(dir.file("cube.boundary")) + " --tracers " +
                                quoted(dir.file("other.tracers")) + " --tracer-radius 0.5" +
                                " --faults " + quoted(dir.file("cube.efd")) + " --quiet" +
                                " --save-tracers " + quoted(dir.file("out.txt")) +
                                " --save-restored-tracers " + quoted(dir.file("retro.txt")));
    ASSERT_EQ(o.status, 0) << o.output;
    EXPECT_TRUE(o.output.empty()) << o.output;
    // 0.5 * 0.5 = 0.25 above the plane, moved by 2, written in units of 0.5
    EXPECT_EQ(read_all(dir.file("out.txt")), "     4.50000000      0.50000000      0.50000000\n");
    EXPECT_EQ(read_all(dir.file("retro.txt")), "    -3.50000000      0.50000000      0.50000000\n");
}

TEST_F(Batch, ExportsBlocksAsVtkOrObj) {
    const outcome o =
        run_batch(cube_args() + " --quiet --save-blocks " + quoted(dir.file("b.vtk")) +
                  " --save-restored-blocks " + quoted(dir.file("r.obj")));
    ASSERT_EQ(o.status, 0) << o.output;
    const std::string vtk = read_all(dir.file("b.vtk"));
    EXPECT_EQ(vtk.rfind("# vtk DataFile Version 3.0\n", 0), 0u);
    EXPECT_NE(vtk.find("DATASET POLYDATA\nPOINTS 16 double\n"), std::string::npos);
    EXPECT_NE(vtk.find("POLYGONS 12 60\n"), std::string::npos);
    EXPECT_NE(vtk.find("CELL_DATA 12\nSCALARS block int 1\nLOOKUP_TABLE default\n"),
              std::string::npos);
    EXPECT_NE(vtk.find("NORMALS normals double\n"), std::string::npos);
    const std::string obj = read_all(dir.file("r.obj"));
    EXPECT_NE(obj.find("o block_0\n"), std::string::npos);
    EXPECT_NE(obj.find("o block_1\n"), std::string::npos);
    std::istringstream lines(obj);
    int faces = 0;
    for (std::string line; std::getline(lines, line);)
        faces += line.rfind("f ", 0) == 0;
    EXPECT_EQ(faces, 12) << obj;
}

TEST_F(Batch, UsageErrorsExitWithTwoAndTheUsageText) {
    for (const std::string& args : {std::string(), std::string("--bogus"), std::string("--faults"),
                                    "--faults " + quoted(dir.file("cube.efd")),
                                    "--faults x --boundary " + quoted(dir.file("cube.boundary")),
                                    cube_args() + " --tracer-radius 0",
                                    cube_args() + " --image-size 10by10", cube_args() + " stray"}) {
        const outcome o = run_batch(args);
        EXPECT_EQ(o.status, 2) << args << "\n" << o.output;
        EXPECT_NE(o.output.find("usage: tolvex-batch"), std::string::npos) << args;
    }
}

TEST_F(Batch, BadInputExitsWithOneNamingFileAndLineAndWritesNothing) {
    struct failure {
        std::string file, content, expected;
    };
    const std::vector<failure> cases = {
        {"cube.efd", "f\t1\t2\t3\t4\tt\t1\t1.5x\t0\t0\t1\t0\t0\t1\t0\t0\t0\t1\n",
         "cube.efd:1: field 8"},
        {"cube.tracers", "1, 2, 3\n1, 2\n", "cube.tracers:2:"},
        {"cube.boundary", "VERTEX=0,0,0\nEDGE=0,5\n", "cube.boundary:2:"},
        {"tolvex.conf",
         "BOUNDARY_FILE=cube.boundary\nTRACER_I_FILE=cube.tracers\n"
         "TRACER_RADIUS=abc\n",
         "tolvex.conf:3:"},
    };
    for (const failure& c : cases) {
        SetUp();
        dir.write(c.file, c.content);
        const outcome o =
            run_batch(cube_args() + " --save-tracers " + quoted(dir.file("never.txt")));
        EXPECT_EQ(o.status, 1) << c.file << "\n" << o.output;
        EXPECT_NE(o.output.find(c.expected), std::string::npos) << o.output;
        EXPECT_FALSE(std::filesystem::exists(dir.file("never.txt")));
    }
}

TEST_F(Batch, MissingAndUnreadableFilesAreReportedByNameAndReason) {
    std::filesystem::remove(dir.file("cube.tracers"));
    outcome o = run_batch(cube_args());
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.output.find("Failed to load tracer points from [" + dir.file("cube.tracers") +
                            "]. No such file or directory."),
              std::string::npos)
        << o.output;

    SetUp();
    std::filesystem::remove(dir.file("cube.boundary"));
    o = run_batch(cube_args());
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.output.find("Failed to read boundary from [" + dir.file("cube.boundary") +
                            "]. No such file or directory."),
              std::string::npos)
        << o.output;

    o = run_batch("--config " + quoted(dir.file("tolvex.conf")) + " --faults " +
                  quoted(dir.file("absent.efd")));
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.output.find(dir.file("absent.efd") + ": cannot open the file: No such file"),
              std::string::npos)
        << o.output;

    // A link to itself exists but cannot be opened, even by root, whom permissions do not stop.
    SetUp();
    std::filesystem::remove(dir.file("cube.tracers"));
    std::filesystem::create_symlink("cube.tracers", dir.file("cube.tracers"));
    o = run_batch(cube_args());
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.output.find(dir.file("cube.tracers") +
                            ": cannot open the file: Too many levels of symbolic links"),
              std::string::npos)
        << o.output;
}

TEST_F(Batch, AnUnwritableOutputFailsAndLeavesNoFile) {
    const std::string target = dir.file("no/such/folder/out.txt");
    const outcome o = run_batch(cube_args() + " --save-tracers " + quoted(target));
    EXPECT_EQ(o.status, 1) << o.output;
    EXPECT_NE(o.output.find(target), std::string::npos) << o.output;
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(Batch, WarnsAboutSlipsThatAreNotUnitOrLeaveTheirPlaneWithoutChangingTheResult) {
    dir.write("cube.efd", fault_line(1, 2.0, {2, 0, 0}, {0, 0, 1}, {1, 1, 1}, 1) +
                              fault_line(2, 0.0, {0, 0, 1}, {0, 0, 1}, {1, 1, 9}, 2));
    const outcome o = run_batch(cube_args() + " --save-tracers " + quoted(dir.file("out.txt")));
    ASSERT_EQ(o.status, 0) << o.output;
    EXPECT_NE(o.output.find("fault 1 (sequence 1): slip direction has length 2"), std::string::npos)
        << o.output;
    EXPECT_NE(o.output.find("fault 2 (sequence 2): slip direction leaves the fault plane"),
              std::string::npos)
        << o.output;
    // the slip is used as given: 2 * 2 = 4
    EXPECT_EQ(read_all(dir.file("out.txt")).substr(0, 15), "     4.50000000");
}

TEST(BatchExample, RunsTheBundledExample) {
    temp_folder out;
    const std::string examples = TOLVEX_EXAMPLES;
    const outcome o =
        run_batch("--config " + quoted(examples + "/tolvex.conf") + " --faults " +
                  quoted(examples + "/graben.efd") + " --save-tracers " +
                  quoted(out.file("t.txt")) + " --save-blocks " + quoted(out.file("b.vtk")));
    ASSERT_EQ(o.status, 0) << o.output;
    EXPECT_EQ(o.output.find("warning"), std::string::npos) << o.output;
    EXPECT_NE(o.output.find("3 faults, "), std::string::npos) << o.output;
    EXPECT_NE(o.output.find(" blocks, 3565 tracers"), std::string::npos) << o.output;
    EXPECT_EQ(count_lines(read_all(out.file("t.txt"))), 3565u);
}

} // namespace
