// tolvex-batch end to end: exit statuses, messages and the files it writes.
#include "formats/horizon_file.hpp"
#include "geometry/vector_utils.hpp"
#include "tests/support/box.hpp"
#include "tests/support/fault_line.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

struct outcome {
    int status = -1;
    std::string output; // standard error and standard output together
};

std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

// program: the command that starts tolvex-batch, the one built unless given.
outcome run_batch(const std::string& args, const std::string& program = quoted(TOLVEX_BATCH)) {
    outcome o;
    const std::string cmd = program + " " + args + " 2>&1";
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

std::size_t count_lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// The cube [0,2]^3 with tracers relative to its centre and one fault through the centre whose
// upper side moves 2 along +x in the forward run.
class Batch : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.write("cube.boundary", box_boundary(make_vec3(0, 0, 0), make_vec3(2, 2, 2)));
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
    EXPECT_EQ(read_text(dir.file("out.txt")), "     2.50000000      0.50000000      0.50000000\n"
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
    EXPECT_EQ(read_text(dir.file("out.txt")), "     4.50000000      0.50000000      0.50000000\n");
    EXPECT_EQ(read_text(dir.file("retro.txt")),
              "    -3.50000000      0.50000000      0.50000000\n");
}

// An installed copy, with no settings beside it, reads the user's file the desktop program
// writes; before that file exists the usage error names where it would be.
TEST_F(Batch, WithoutConfigOrFilesReadsTheDesktopProgramsSettings) {
    std::filesystem::create_directory(dir.file("bin"));
    std::filesystem::copy_file(TOLVEX_BATCH, dir.file("bin/tolvex-batch"));
    std::filesystem::permissions(dir.file("bin/tolvex-batch"), std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    const std::string program = "env -u XDG_CONFIG_HOME HOME=" + quoted(dir.file("home")) + " " +
                                quoted(dir.file("bin/tolvex-batch"));
    const std::string args = "--faults " + quoted(dir.file("cube.efd")) +
                             " --quiet --save-tracers " + quoted(dir.file("out.txt"));
    const std::string user = dir.file("home/.config/tolvex/tolvex.conf");
    const outcome none = run_batch(args, program);
    EXPECT_EQ(none.status, 2) << none.output;
    EXPECT_NE(none.output.find("no settings file " + user), std::string::npos) << none.output;

    std::filesystem::create_directories(dir.file("home/.config/tolvex"));
    dir.write("home/.config/tolvex/tolvex.conf", "BOUNDARY_FILE=" + dir.file("cube.boundary") +
                                                     "\nTRACER_I_FILE=" + dir.file("cube.tracers") +
                                                     "\nTRACER_RADIUS=1\n");
    const outcome found = run_batch(args, program);
    ASSERT_EQ(found.status, 0) << found.output;
    EXPECT_EQ(count_lines(read_text(dir.file("out.txt"))), 3u);
}

TEST_F(Batch, ExportsBlocksAsVtkOrObj) {
    const outcome o =
        run_batch(cube_args() + " --quiet --save-blocks " + quoted(dir.file("b.vtk")) +
                  " --save-restored-blocks " + quoted(dir.file("r.obj")));
    ASSERT_EQ(o.status, 0) << o.output;
    const std::string vtk = read_text(dir.file("b.vtk"));
    EXPECT_EQ(vtk.rfind("# vtk DataFile Version 3.0\n", 0), 0u);
    // In the boundary file's coordinates, with the centre the run took off: the upper half moved
    // from x in [0, 2] to [2, 4]. The faults are named in the order loaded.
    EXPECT_NE(vtk.find("DATASET POLYDATA\nFIELD FieldData 2\ncentre 3 1 double\n1 1 1\n"
                       "fault_label 1 1 string\n1%20tag\nPOINTS 16 double\n2 0 2\n4 0 2\n"),
              std::string::npos)
        << vtk;
    EXPECT_NE(vtk.find("POLYGONS 12 60\n"), std::string::npos);
    EXPECT_NE(vtk.find("CELL_DATA 12\nSCALARS block int 1\nLOOKUP_TABLE default\n"),
              std::string::npos);
    EXPECT_NE(vtk.find("NORMALS normals double\n"), std::string::npos);
    const std::string obj = read_text(dir.file("r.obj"));
    EXPECT_NE(obj.find("o block_0\n"), std::string::npos);
    EXPECT_NE(obj.find("o block_1\n"), std::string::npos);
    std::istringstream lines(obj);
    int faces = 0;
    for (std::string line; std::getline(lines, line);)
        faces += line.rfind("f ", 0) == 0;
    EXPECT_EQ(faces, 12) << obj;
}

TEST_F(Batch, UsageErrorsExitWithTwoAndOneLineThenWhereToReadMore) {
    for (const std::string& args :
         {std::string(), std::string("--bogus"), std::string("--faults"),
          "--faults x --boundary " + quoted(dir.file("cube.boundary")),
          cube_args() + " --tracer-radius 0", cube_args() + " --image-size 10by10",
          cube_args() + " stray", cube_args() + " --image-step forward",
          cube_args() + " --save-image x.png --image-step sideways",
          cube_args() + " --save-image x.png --image-step forward:x",
          cube_args() + " --save-image x.png --image-step restored:2",
          cube_args() + " --save-image x.png --view-colour pink"}) {
        const outcome o = run_batch(args);
        EXPECT_EQ(o.status, 2) << args << "\n" << o.output;
        EXPECT_EQ(count_lines(o.output), 2u) << o.output;
        EXPECT_TRUE(o.output.starts_with("tolvex-batch: ")) << o.output;
        EXPECT_TRUE(o.output.ends_with("\nTry 'tolvex-batch --help' for more information.\n"))
            << o.output;
    }
    // A fault file without its option is the likely mistake, and the line says how to give it.
    const std::string efd = quoted(dir.file("cube.efd"));
    EXPECT_NE(run_batch("--config x " + efd).output.find("write --faults " + dir.file("cube.efd")),
              std::string::npos);
}

TEST_F(Batch, HelpAndVersionHaveShortFormsAndNeedNoOtherOption) {
    for (const char* version : {"--version", "-V"}) {
        const outcome o = run_batch(version);
        EXPECT_EQ(o.status, 0);
        EXPECT_EQ(o.output, "tolvex-batch " TOLVEX_VERSION "\n");
    }
    const outcome help = run_batch("-h");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.output.starts_with("usage: tolvex-batch")) << help.output;
}

// A fault file given as --config sets nothing: the run goes on with a warning naming it.
TEST_F(Batch, ASettingsFileThatNamesNoSettingIsWarnedAbout) {
    dir.write("faults.conf", read_text(dir.file("cube.efd")));
    const outcome o =
        run_batch("--config " + quoted(dir.file("faults.conf")) + " --boundary " +
                  quoted(dir.file("cube.boundary")) + " --tracers " +
                  quoted(dir.file("cube.tracers")) + " --faults " + quoted(dir.file("cube.efd")));
    EXPECT_EQ(o.status, 0) << o.output;
    EXPECT_NE(o.output.find("warning: " + dir.file("faults.conf") + ": no line names a setting"),
              std::string::npos)
        << o.output;
}

TEST_F(Batch, ImageStepDrawsTheChosenStepOfTheChosenRun) {
    // Offscreen drawing leaves Mesa's allocations behind, which the leak checker cannot tell from
    // ours.
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    dir.write("shown.conf", "BOUNDARY_FILE=cube.boundary\nTRACER_I_FILE=cube.tracers\n"
                            "TRACER_RADIUS=1\nSHOW_BLOCK\nINITIAL_VIEW_POINT=6, -8, 5\n");
    const auto picture = [&](const std::string& name, const std::string& step) {
        const outcome o = run_batch("--config " + quoted(dir.file("shown.conf")) + " --faults " +
                                    quoted(dir.file("cube.efd")) + " --quiet --save-image " +
                                    quoted(dir.file(name)) + step);
        EXPECT_EQ(o.status, 0) << step << "\n" << o.output;
        return read_text(dir.file(name));
    };
    const std::string last = picture("default.png", "");
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(picture("forward.png", " --image-step forward:1"), last);
    // The upper half slid the other way in the restoration; both runs start from the cube, and
    // the label tells their step 0 apart.
    EXPECT_NE(picture("restored.png", " --image-step restored"), last);
    EXPECT_NE(picture("r0.png", " --image-step restored:0"),
              picture("f0.png", " --image-step forward:0"));
    EXPECT_NE(picture("f0.png", " --image-step forward:0"), last);
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
        // a horizon file, relative to the configuration, that is no surface file
        {"tolvex.conf",
         "BOUNDARY_FILE=cube.boundary\nTRACER_I_FILE=cube.tracers\nTRACER_RADIUS=1\n"
         "HORIZON_FILE=cube.tracers\n",
         "cube.tracers:1:"},
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
    EXPECT_NE(o.output.find("Failed to load tracer points from [" + dir.file("cube.tracers") +
                            "]. Too many levels of symbolic links."),
              std::string::npos)
        << o.output;

    // A folder in the boundary's place: the boundary's own message with the reason.
    std::filesystem::remove(dir.file("cube.tracers"));
    SetUp();
    std::filesystem::remove(dir.file("cube.boundary"));
    std::filesystem::create_directory(dir.file("cube.boundary"));
    o = run_batch(cube_args());
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.output.find("Failed to read boundary from [" + dir.file("cube.boundary") +
                            "]. Is a directory."),
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

// Doubtful input is used as given, with a warning: slips, a plane that misses the boundary, and
// tracers outside it (one warning at the first one's line).
TEST_F(Batch, WarnsAboutDoubtfulInputWithoutChangingTheResult) {
    dir.write("cube.efd", fault_line(1, 2.0, {2, 0, 0}, {0, 0, 1}, {1, 1, 1}, 1) +
                              fault_line(2, 0.0, {0, 0, 1}, {0, 0, 1}, {1, 1, 9}, 2));
    dir.write("cube.tracers", "0.5, 0.5, 0.5\n# far\n5 5 5\n0 0 -3\n");
    const outcome o = run_batch(cube_args() + " --save-tracers " + quoted(dir.file("out.txt")));
    ASSERT_EQ(o.status, 0) << o.output;
    EXPECT_NE(o.output.find("fault \"f1\" (identifier 1, sequence 1): slip direction has length 2"),
              std::string::npos)
        << o.output;
    EXPECT_NE(o.output.find(
                  "fault \"f2\" (identifier 2, sequence 2): slip direction leaves the fault plane"),
              std::string::npos)
        << o.output;
    EXPECT_NE(
        o.output.find("fault \"f2\" (identifier 2, sequence 2): its plane misses the boundary"),
        std::string::npos)
        << o.output;
    EXPECT_NE(o.output.find("cube.tracers:3: 2 tracers lie outside the boundary"),
              std::string::npos)
        << o.output;
    // the slip is used as given: 2 * 2 = 4
    EXPECT_EQ(read_text(dir.file("out.txt")).substr(0, 15), "     4.50000000");
}

// The entries of a file-series index: each {"name": ..., "time": ...} in order.
std::vector<std::pair<std::string, std::string>> series_entries(const std::string& json) {
    std::vector<std::pair<std::string, std::string>> entries;
    if (!std::regex_search(json, std::regex(R"("file-series-version"\s*:\s*"1\.0")")))
        return entries;
    const std::regex entry(
        R"re(\{\s*"name"\s*:\s*"([^"]*)"\s*,\s*"time"\s*:\s*([0-9.eE+-]+)\s*\})re");
    for (std::sregex_iterator it(json.begin(), json.end(), entry), end; it != end; ++it)
        entries.emplace_back((*it)[1], (*it)[2]);
    return entries;
}

// The line after the field-data header: the fault a step file names.
std::string fault_field(const std::string& vtk) {
    const std::string head = "\nfault 1 1 string\n";
    const std::size_t at = vtk.find(head);
    if (at == std::string::npos)
        return "no field";
    const std::size_t start = at + head.size();
    return vtk.substr(start, vtk.find('\n', start) - start);
}

TEST_F(Batch, SavesEveryStepAsSeriesThatParaViewPlays) {
    const std::string steps = dir.file("steps");
    const outcome o = run_batch(cube_args() + " --quiet --steps-format vtk --save-steps " +
                                quoted(steps) + " --save-blocks " + quoted(dir.file("b.vtk")));
    ASSERT_EQ(o.status, 0) << o.output;
    for (const std::string series :
         {"restoration", "forward", "restoration_tracers", "forward_tracers"}) {
        const auto entries = series_entries(read_text(steps + "/" + series + ".vtk.series"));
        ASSERT_EQ(entries.size(), 2u) << series;
        for (std::size_t k = 0; k < 2; ++k) {
            EXPECT_EQ(entries[k].first, series + "_00" + std::to_string(k) + ".vtk");
            EXPECT_EQ(entries[k].second, std::to_string(k));
            EXPECT_TRUE(std::filesystem::is_regular_file(steps + "/" + entries[k].first));
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(steps), {}), 12);
    EXPECT_EQ(fault_field(read_text(steps + "/forward_000.vtk")), "initial");
    // ParaView picks its reader by the ending before .series, so XML files get .vtp.series.
    ASSERT_EQ(run_batch(cube_args() + " --quiet --save-steps " + quoted(dir.file("xml"))).status,
              0);
    for (const std::string series : {"restoration", "forward_tracers"})
        EXPECT_EQ(series_entries(read_text(dir.file("xml/" + series + ".vtp.series")))[1].first,
                  series + "_001.vtp");
    EXPECT_EQ(fault_field(read_text(steps + "/restoration_tracers_001.vtk")), "1%20tag");
    // The last forward step is the forward result, block for block.
    const auto geometry = [](std::string vtk) { return vtk.substr(vtk.find("POINTS")); };
    EXPECT_EQ(geometry(read_text(steps + "/forward_001.vtk")),
              geometry(read_text(dir.file("b.vtk"))));
    // Tracers in the boundary file's coordinates, each with its index.
    const std::string tracers = read_text(steps + "/forward_tracers_001.vtk");
    EXPECT_NE(tracers.find("POINTS 3 double\n3.5 1.5 1.5\n3 1 1\n1 1 0.5\n"
                           "VERTICES 3 6\n1 0\n1 1\n1 2\n"
                           "POINT_DATA 3\nSCALARS tracer int 1\nLOOKUP_TABLE default\n0\n1\n2\n"),
              std::string::npos)
        << tracers;
}

TEST_F(Batch, AFailingOutputLeavesEveryOldFileAsItWas) {
    dir.write("out.txt", "old\n");
    const outcome o = run_batch(cube_args() + " --save-tracers " + quoted(dir.file("out.txt")) +
                                " --save-steps " + quoted(dir.file("steps")) + " --save-blocks " +
                                quoted(dir.file("no/such/folder/b.vtk")));
    EXPECT_EQ(o.status, 1) << o.output;
    EXPECT_NE(o.output.find(dir.file("no/such/folder/b.vtk")), std::string::npos) << o.output;
    EXPECT_EQ(read_text(dir.file("out.txt")), "old\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("steps")));
    // the four inputs and the old output, no temporary file
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("")), {}), 5);
}

// Outputs with an ending that names no format they can be written in, and horizon outputs without
// horizons, are usage errors naming the option, before anything is read or written.
TEST_F(Batch, OutputOptionsRefuseBadEndingsAndMissingHorizonsByTheirOption) {
    const struct {
        std::string args, message;
    } bad[] = {
        {"--save-horizons @x.ts", "--save-horizons needs --horizons FILE"},
        {"--save-restored-horizons @x.obj", "--save-restored-horizons needs --horizons FILE"},
        {"--horizons @h.ts --save-horizons @x.txt", "--save-horizons: \""},
        {"--horizons @h.ts --save-restored-horizons @x.TS", "must end in .ts, .obj or .vtk"},
        {"--save-fault-surfaces @x.vtp", "--save-fault-surfaces: \""},
        {"--save-restored-fault-surfaces @x", "--save-restored-fault-surfaces: \""},
        {"--save-tracer-points @x.ts", "--save-tracer-points: \""},
        {"--save-blocks @x.stl", "--save-blocks: \"" /* wrote VTK text */},
        {"--save-restored-blocks @x.txt", "must end in .obj, .vtk or .vtp"},
        {"--save-image @x.jpg", "--save-image: \"" /* wrote PNG bytes */},
        {"--horizons @h.ts --save-horizons @h.ts", "--save-horizons and --horizons name the same"},
        {"--fit-rake", "--fit-rake needs --fit-slips"},
        {"--fit-slips", "--fit-slips needs --horizons FILE"},
        {"--horizons @h.ts --undeformed-horizons @u.ts",
         "--horizons cannot be given with --undeformed-horizons"},
        {"--present-horizons @h.ts --save-horizons @x.ts",
         "--save-horizons writes the forward run's horizons"},
    };
    for (const auto& b : bad) {
        std::string args = b.args;
        for (std::size_t at; (at = args.find('@')) != std::string::npos;)
            args.replace(at, 1, dir.file(""));
        const outcome o = run_batch(cube_args() + " " + args);
        EXPECT_EQ(o.status, 2) << args << "\n" << o.output;
        EXPECT_NE(o.output.find(b.message), std::string::npos) << o.output;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("")), {}), 4);
}

TEST_F(Batch, OutputsThatNameAnInputOrEachOtherAreUsageErrors) {
    std::filesystem::create_symlink(dir.file("cube.efd"), dir.file("faults-link"));
    const std::string same_tracers = dir.file("sub/../cube.tracers");
    std::filesystem::create_directory(dir.file("sub"));
    for (const std::string& args :
         {" --save-tracers " + quoted(same_tracers),
          " --save-blocks " + quoted(dir.file("faults-link")),
          " --save-restored-blocks " + quoted(dir.file("tolvex.conf")),
          " --save-tracers " + quoted(dir.file("new.txt")) + " --save-restored-tracers " +
              quoted(dir.file("sub/../new.txt")),
          " --save-steps " + quoted(dir.file("steps")) + " --save-blocks " +
              quoted(dir.file("steps/forward_001.vtk"))}) {
        const outcome o = run_batch(cube_args() + args);
        EXPECT_EQ(o.status, 2) << args << "\n" << o.output;
        EXPECT_NE(o.output.find("name the same file"), std::string::npos) << o.output;
    }
    EXPECT_EQ(read_text(dir.file("cube.tracers")), "0.5, 0.5, 0.5\n0, 0, 0\n0, 0, -0.5\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("steps")));
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
    EXPECT_EQ(count_lines(read_text(out.file("t.txt"))), 3565u);
}

// The area of the surfaces' triangles.
double area(const std::vector<horizon>& surfaces) {
    double sum = 0.0;
    for (const horizon& h : surfaces)
        for (const triangle& t : h.triangles) {
            const vec3& a = h.vertices[static_cast<std::size_t>(t[0])];
            sum += 0.5 * norm_2(cross_prod3(h.vertices[static_cast<std::size_t>(t[1])] - a,
                                            h.vertices[static_cast<std::size_t>(t[2])] - a));
        }
    return sum;
}

// count values of the VTK legacy section that starts with head.
template <class T>
std::vector<T> vtk_values(const std::string& vtk, const std::string& head, std::size_t count) {
    std::istringstream in(vtk.substr(vtk.find(head) + head.size()));
    std::vector<T> values(count);
    for (T& v : values)
        in >> v;
    return values;
}

// The example's flat layers (HORIZON_FILE=, relative to the configuration) through both runs,
// with every surface output: the pieces keep the area of the layers inside the box, each block
// face names the loaded fault whose plane it lies in, the tracer points are the forward tracers,
// and the steps have horizon series. Restoring the forward layers makes them flat again.
TEST(BatchExample, HorizonsGoThroughBothRunsAndRestoreFlat) {
    temp_folder out;
    const std::string examples = TOLVEX_EXAMPLES;
    const std::string layers = read_text(examples + "/horizons.ts");
    out.write("layers.ts", layers);
    out.write("tolvex.conf", "BOUNDARY_FILE=" + examples + "/box.boundary\nTRACER_I_FILE=" +
                                 examples + "/layers.tracers\nHORIZON_FILE=layers.ts\n");
    const std::string run = "--quiet --faults " + quoted(examples + "/graben.efd") + " --config " +
                            quoted(out.file("tolvex.conf"));
    outcome o = run_batch(
        run + " --save-horizons " + quoted(out.file("present.ts")) + " --save-restored-horizons " +
        quoted(out.file("restored.obj")) + " --save-fault-surfaces " +
        quoted(out.file("walls.ts")) + " --save-restored-fault-surfaces " +
        quoted(out.file("restored-walls.vtk")) + " --save-tracer-points " +
        quoted(out.file("tracers.vs")) + " --save-blocks " + quoted(out.file("blocks.vtk")) +
        " --steps-format vtk --save-steps " + quoted(out.file("steps")));
    ASSERT_EQ(o.status, 0) << o.output;
    const auto surfaces = [&](const std::string& name) {
        return tolvex::parse_horizon_text(read_text(out.file(name)), name);
    };
    const std::vector<horizon> present = surfaces("present.ts");
    ASSERT_EQ(present.size(), 5u);
    // five layers across the 1600 m by 1200 m box
    EXPECT_NEAR(area(present), 5 * 1600.0 * 1200.0, 1e-3);
    EXPECT_NEAR(area(surfaces("restored.obj")), 5 * 1600.0 * 1200.0, 1e-3);
    EXPECT_EQ(surfaces("walls.ts").size(), 6u); // both walls of three faults
    EXPECT_FALSE(surfaces("restored-walls.vtk").empty());

    // Loaded youngest first: the oblique fault, the eastern, the western border.
    const std::vector<vec3> normals = {make_vec3(0, 0.939693, 0.34202),
                                       make_vec3(-0.866025, 0, 0.5), make_vec3(0.866025, 0, 0.5)};
    const std::string blocks = read_text(out.file("blocks.vtk"));
    const std::size_t faces = vtk_values<std::size_t>(blocks, "CELL_DATA ", 1)[0];
    const auto fault =
        vtk_values<int>(blocks, "SCALARS fault int 1\nLOOKUP_TABLE default\n", faces);
    const auto normal = vtk_values<double>(blocks, "NORMALS normals double\n", 3 * faces);
    for (std::size_t f = 0; f < faces; ++f)
        if (fault[f] >= 0) {
            const vec3 n = make_vec3(normal[3 * f], normal[3 * f + 1], normal[3 * f + 2]);
            EXPECT_NEAR(std::abs(inner_prod(n, normals.at(static_cast<std::size_t>(fault[f])))),
                        1.0, 1e-5)
                << "face " << f;
        }
    EXPECT_NE(std::count(fault.begin(), fault.end(), -1), std::ptrdiff_t(faces));

    const std::string points = read_text(out.file("tracers.vs"));
    EXPECT_EQ(points.rfind("GOCAD VSet 1\nHEADER {\nname: tracers\n}\nPROPERTIES tracer\n", 0), 0u);
    EXPECT_TRUE(points.ends_with("END\n"));
    const std::string last = read_text(out.file("steps/forward_tracers_003.vtk"));
    const std::size_t first = last.find(" double\n", last.find("POINTS ")) + 8;
    EXPECT_NE(
        points.find("\nPVRTX 1 " + last.substr(first, last.find('\n', first) - first) + " 0\n"),
        std::string::npos);
    EXPECT_EQ(count_lines(points), 3565u + 6);
    const auto series = series_entries(read_text(out.file("steps/forward_horizons.vtk.series")));
    ASSERT_EQ(series.size(), 4u);
    EXPECT_EQ(
        tolvex::parse_horizon_text(read_text(out.file("steps/" + series[3].first)), ".vtk").size(),
        5u);

    // --horizons overrides the configuration's.
    o = run_batch(run + " --horizons " + quoted(out.file("present.ts")) +
                  " --save-restored-horizons " + quoted(out.file("flat.ts")));
    ASSERT_EQ(o.status, 0) << o.output;
    const std::vector<horizon> given = tolvex::parse_horizon_text(layers, "layers.ts");
    const std::vector<horizon> flat = surfaces("flat.ts");
    // The forward run lowers every block, the deepest layer out of the box: the restoration,
    // which cuts only what lies inside, has the other four.
    ASSERT_EQ(flat.size(), 4u);
    for (const horizon& h : flat) {
        const auto same = std::find_if(given.begin(), given.end(),
                                       [&](const horizon& g) { return g.name == h.name; });
        ASSERT_NE(same, given.end()) << h.name;
        for (const vec3& v : h.vertices)
            ASSERT_NEAR(v[2], same->vertices[0][2], 1e-6) << h.name;
    }
}

} // namespace

namespace {

// n faults through the cube, each plane turned a little from the last, slips in their planes.
std::string many_faults(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) {
        const double a = 0.37 * i, c = std::cos(a), s = std::sin(a);
        text += fault_line(i + 1, 0.01, {-s, c, 0}, {c, s, 0.2}, {1, 1, 1}, i + 1) + "\n";
    }
    return text;
}

bool has_staged_file(const std::filesystem::path& folder) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        if (e.path().filename().string().starts_with(".tolvex-"))
            return true;
    return false;
}

} // namespace

// A stop signal during --save-steps ends the run with 128 + the signal and takes back everything
// it staged, the folder it made included.
TEST_F(Batch, AStopSignalLeavesNothingBehind) {
    dir.write("many.efd", many_faults(150));
    const std::string steps = dir.file("steps");
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t child = fork();
        if (child == 0) {
            execl(TOLVEX_BATCH, TOLVEX_BATCH, "--config", dir.file("tolvex.conf").c_str(),
                  "--faults", dir.file("many.efd").c_str(), "--quiet", "--save-steps",
                  steps.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int raw = 0;
        bool staged = false;
        while (!(staged = has_staged_file(steps)) && waitpid(child, &raw, WNOHANG) == 0)
            std::this_thread::yield();
        ASSERT_TRUE(staged) << "the run ended before it staged a step";
        kill(child, signal);
        ASSERT_EQ(waitpid(child, &raw, 0), child);
        ASSERT_TRUE(WIFEXITED(raw));
        EXPECT_EQ(WEXITSTATUS(raw), 128 + signal);
        EXPECT_FALSE(std::filesystem::exists(steps));
    }
}

// Steps saved again into the same folder replace the earlier run's whole series and nothing else.
TEST_F(Batch, SavingStepsAgainRemovesTheEarlierRunsLeftoverSteps) {
    dir.write("five.efd", many_faults(5));
    const std::string steps = dir.file("steps");
    const auto save_steps = [&](const std::string& faults, const std::string& format) {
        return run_batch("--config " + quoted(dir.file("tolvex.conf")) + " --faults " +
                         quoted(faults) + " --quiet --steps-format " + format + " --save-steps " +
                         quoted(steps));
    };
    ASSERT_EQ(save_steps(dir.file("five.efd"), "vtk").status, 0);
    write_text(steps + "/notes.txt", "mine\n");
    ASSERT_EQ(save_steps(dir.file("cube.efd"), "vtp").status, 0);
    EXPECT_FALSE(std::filesystem::exists(steps + "/forward_005.vtk"));
    EXPECT_FALSE(std::filesystem::exists(steps + "/forward_001.vtk"));
    EXPECT_TRUE(std::filesystem::exists(steps + "/forward_001.vtp"));
    EXPECT_EQ(read_text(steps + "/notes.txt"), "mine\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(steps), {}), 13);
}

// A section across the cube's fault, drawn in each format; bad requests are usage errors naming
// the option, and leave no file.
TEST_F(Batch, DrawsSectionsAndRefusesBadOnesByTheirOption) {
    for (const char* name : {"s.svg", "s.pdf", "s.PNG"}) {
        const outcome o = run_batch(cube_args() + " --quiet --section 0,1,2,1 --save-section " +
                                    quoted(dir.file(name)) + " --section-step forward:0" +
                                    " --section-step restored --section-exaggeration 2 --units m");
        ASSERT_EQ(o.status, 0) << o.output;
        EXPECT_GT(std::filesystem::file_size(dir.file(name)), 1000u) << name;
    }
    // As 3-D geometry: both halves' polygons on the plane y = 1, in the file's coordinates, along
    // a line long enough for the halves of both runs.
    ASSERT_EQ(run_batch(cube_args() + " --quiet --section -2,1,4,1 --save-section " +
                        quoted(dir.file("s.vtk")))
                  .status,
              0);
    const std::string vtk = read_text(dir.file("s.vtk"));
    EXPECT_NE(vtk.find("POLYGONS 4 20\n"), std::string::npos) << vtk;
    EXPECT_NE(vtk.find("FIELD FieldData 4\nfault_label 1 1 string\n1%20tag\n"), std::string::npos);
    EXPECT_NE(vtk.find("\n4 1 2\n"), std::string::npos)
        << vtk; // forward: the upper half at x 2 to 4
    const struct {
        std::string args, option;
    } bad[] = {
        {"--section 1,1,1,1 --save-section x.svg", "--section: the line"},
        {"--section 1,1,2 --save-section x.svg", "--section: \"1,1,2\""},
        {"--section 0,1 --save-section x.svg", "--section: \"0,1\" is one point"},
        {"--section 0,1,2,1,2,1 --save-section x.svg", "--section: the line's segment 2 from"},
        {"--section 0,1,2,1,nan,3 --save-section x.svg", "\"nan\" is not a finite number"},
        {"--section 50,0,50,1 --save-section x.svg", "--section: the line misses the model"},
        {"--section 0,1,2,1 --save-section x.jpg", "--save-section: "},
        {"--section 0,1,2,1 --save-section x.svg --section-step forward:2", "--section-step: "},
        {"--section 0,1,2,1 --save-section x.svg --section-band -1", "--section-band: "},
        {"--section 0,1,2,1", "--section needs --save-section"},
        {"--section 0,1,2,1 --save-section x.svg --units \"$(printf 'm\\tft')\"", "--units: "},
        {"--section -1e308,0,1e308,0 --save-section x.svg", "than a number can hold"},
        {"--section 0,1,2,1 --save-section x.svg --section-exaggeration 1e308",
         "--section-exaggeration: the drawing would be "},
    };
    for (const auto& b : bad) {
        std::string args = b.args;
        if (const std::size_t at = args.find("x."); at != std::string::npos)
            args.replace(at, 1, quoted(dir.file("x")));
        const outcome o = run_batch(cube_args() + " " + args);
        EXPECT_EQ(o.status, 2) << args;
        EXPECT_NE(o.output.find(b.option), std::string::npos) << o.output;
        EXPECT_FALSE(std::filesystem::exists(dir.file("x.svg")));
    }
}

TEST(BatchExample, FaultsSavedAsATableOrADataFileRunToTheSameTracers) {
    temp_folder out;
    const std::string examples = TOLVEX_EXAMPLES;
    const std::string config = "--quiet --config " + quoted(examples + "/tolvex.conf");
    const auto run_with = [&](const std::string& faults, const std::string& saves) {
        const outcome o = run_batch(config + " --faults " + quoted(faults) + " --save-tracers " +
                                    quoted(out.file(saves + ".txt")) + " --save-faults " +
                                    quoted(out.file(saves)));
        EXPECT_EQ(o.status, 0) << o.output;
        EXPECT_EQ(o.output, "");
        return read_text(out.file(saves + ".txt"));
    };
    // A data file keeps every value exactly; a table holds slips in their planes, so the table's
    // faults are the ones that then go round unchanged.
    const std::string given = run_with(examples + "/graben.efd", "a.efd");
    EXPECT_EQ(run_with(out.file("a.efd"), "b.csv"), given);
    const std::string tracers = run_with(out.file("b.csv"), "c.efd");
    EXPECT_EQ(run_with(out.file("c.efd"), "d.csv"), tracers);
    EXPECT_EQ(run_with(out.file("d.csv"), "e.csv"), tracers);
    EXPECT_EQ(read_text(out.file("d.csv")).substr(0, 54),
              "id,name,tag,sequence,x,y,z,dip_direction,dip,rake,slip");
    // A dip the table cannot have stops the run before anything is written.
    out.write("bad.csv", "id,sequence,x,y,z,dip_direction,dip,rake,slip\n1,1,0,0,0,90,91,0,1\n");
    const outcome bad = run_batch(config + " --faults " + quoted(out.file("bad.csv")) +
                                  " --save-faults " + quoted(out.file("d.efd")));
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.output.find("bad.csv:2: column \"dip\": 91 is outside 0 to 90"),
              std::string::npos)
        << bad.output;
    EXPECT_FALSE(std::filesystem::exists(out.file("d.efd")));
}

// Present-day horizons are the restoration's alone: the forward run, which would deform them a
// second time, carries none, and the section's titles name the set. They replace the settings'
// HORIZON_FILE= rather than clash with it.
TEST(BatchExample, PresentHorizonsGoThroughTheRestorationOnly) {
    temp_folder out;
    const std::string examples = TOLVEX_EXAMPLES;
    const outcome o =
        run_batch("--quiet --faults " + quoted(examples + "/graben.efd") + " --config " +
                  quoted(examples + "/tolvex.conf") + " --present-horizons " +
                  quoted(examples + "/horizons.ts") + " --save-restored-horizons " +
                  quoted(out.file("restored.ts")) + " --steps-format vtk --save-steps " +
                  quoted(out.file("steps")) + " --section 4200,8750,5800,8750 --save-section " +
                  quoted(out.file("s.svg")));
    ASSERT_EQ(o.status, 0) << o.output;
    EXPECT_FALSE(tolvex::parse_horizon_text(read_text(out.file("restored.ts")), ".ts").empty());
    EXPECT_TRUE(std::filesystem::exists(out.file("steps/restoration_horizons.vtk.series")));
    EXPECT_FALSE(std::filesystem::exists(out.file("steps/forward_horizons.vtk.series")));
    const std::string svg = read_text(out.file("s.svg"));
    EXPECT_NE(svg.find("restored 3/3: 101 NF-W, present-day horizons"), std::string::npos);
    EXPECT_NE(svg.find("forward 3/3: "), std::string::npos);
    EXPECT_EQ(svg.find("undeformed"), std::string::npos);
}

// The western border fault (dip 60, slip 150 down the dip, written to six digits) throws the
// flat layers 150 sin 60 wherever the later faults left both walls together: down in the forward
// run, up in the restoration, which starts from the same flat layers.
TEST(BatchExample, CutoffsAndSeparationsOfTheExampleLayers) {
    temp_folder out;
    const std::string examples = TOLVEX_EXAMPLES;
    out.write("tolvex.conf", "BOUNDARY_FILE=" + examples +
                                 "/box.boundary\nTRACER_I_FILE=" + examples +
                                 "/layers.tracers\nHORIZON_FILE=" + examples + "/horizons.ts\n");
    const std::string run = "--quiet --faults " + quoted(examples + "/graben.efd") + " --config " +
                            quoted(out.file("tolvex.conf"));
    const outcome o =
        run_batch(run + " --save-cutoffs " + quoted(out.file("c.pl")) + " --save-separations " +
                  quoted(out.file("s.csv")) + " --save-fault-diagram " + quoted(out.file("d.svg")) +
                  " --fault 101 --units ft");
    ASSERT_EQ(o.status, 0) << o.output;
    std::istringstream rows(read_text(out.file("s.csv")));
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row, "run,fault,name,horizon,along_strike,throw,heave,dip_separation");
    std::map<std::string, std::pair<std::size_t, std::size_t>> thrown; // by run: rows, right
    while (std::getline(rows, row)) {
        std::vector<std::string> cells;
        std::istringstream in(row);
        for (std::string cell; std::getline(in, cell, ',');)
            cells.push_back(cell);
        ASSERT_EQ(cells.size(), 8u) << row;
        if (cells[1] != "101")
            continue;
        const double sense = cells[0] == "forward" ? 1.0 : -1.0;
        auto& [count, right] = thrown[cells[0]];
        ++count;
        right += std::abs(std::stod(cells[5]) - sense * 150 * std::sqrt(0.75)) < 1e-3;
    }
    ASSERT_EQ(thrown.size(), 2u);
    for (const auto& [which, counts] : thrown)
        EXPECT_GT(counts.second, counts.first / 2) << which << " " << counts.first;
    EXPECT_EQ(read_text(out.file("c.pl")).rfind("GOCAD PLine 1\nHEADER {\nname:restored ", 0), 0u);
    EXPECT_NE(read_text(out.file("d.svg")).find("<svg"), std::string::npos);
    EXPECT_NE(read_text(out.file("d.svg")).find("along strike (ft)"), std::string::npos)
        << "the diagram is drawn in the run's units, as sections are";

    const outcome unknown =
        run_batch(run + " --save-fault-diagram " + quoted(out.file("e.svg")) + " --fault 7");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("--fault: no loaded fault has the identifier 7"),
              std::string::npos)
        << unknown.output;
    EXPECT_FALSE(std::filesystem::exists(out.file("e.svg")));
}

TEST_F(Batch, FaultPlanesComeFromSurfacesWithinTheirMisfit) {
    const std::string surfaces = std::string(TOLVEX_TEST_DATA) + "/community_fault.ts";
    dir.write("t.csv", "id,name,sequence,rake,slip\n7,Example Fault (EXFT),1,-90,100\n");
    const std::string args = "--quiet --config " + quoted(dir.file("tolvex.conf")) + " --faults " +
                             quoted(dir.file("t.csv")) + " --fault-surfaces " + quoted(surfaces) +
                             " --save-faults " + quoted(dir.file("out.csv"));
    const outcome o = run_batch(args);
    ASSERT_EQ(o.status, 0) << o.output;
    EXPECT_NE(read_text(dir.file("out.csv")).find("\n7,Example Fault (EXFT),,1,"),
              std::string::npos);
    const outcome refused = run_batch(args + " --max-fault-misfit 10");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("surface \"Example Fault (EXFT)\" lies up to"), std::string::npos)
        << refused.output;
}

// --fit-slips on the example: the present-day layers of the graben, fitted from half the slips,
// give back the example's slips and flat restored layers; a datum naming no horizon writes
// nothing.
TEST(BatchFit, RecoversTheGrabenSlipsAndRefusesAnUnknownDatumHorizon) {
    temp_folder out;
    const std::string examples = TOLVEX_EXAMPLES;
    const std::string config = " --config " + quoted(examples + "/tolvex.conf");
    outcome o = run_batch("--quiet --faults " + quoted(examples + "/graben.efd") + config +
                          " --save-horizons " + quoted(out.file("present.ts")));
    ASSERT_EQ(o.status, 0) << o.output;
    std::string half = read_text(examples + "/graben.efd");
    for (const auto& [from, to] : {std::pair{"\t100\t", "\t50\t"}, std::pair{"\t120\t", "\t60\t"},
                                   std::pair{"\t150\t", "\t75\t"}})
        half.replace(half.find(from), std::string(from).size(), to);
    out.write("half.efd", half);
    const std::string fit = "--quiet --faults " + quoted(out.file("half.efd")) + config +
                            " --horizons " + quoted(out.file("present.ts")) + " --fit-slips";
    o = run_batch(fit + " --save-restored-horizons " + quoted(out.file("flat.ts")));
    ASSERT_EQ(o.status, 0) << o.output;
    for (const char* slip : {" 100.000 ", " 120.000 ", " 150.000 "})
        EXPECT_NE(o.output.find(slip), std::string::npos) << o.output;
    for (const horizon& h : tolvex::parse_horizon_text(read_text(out.file("flat.ts")), "flat.ts")) {
        const auto [low, high] =
            std::minmax_element(h.vertices.begin(), h.vertices.end(),
                                [](const vec3& a, const vec3& b) { return a[2] < b[2]; });
        EXPECT_LT((*high)[2] - (*low)[2], 1e-6) << h.name;
    }

    out.write("datum.txt", "# restored elevations\nlayer 9, -700\n");
    o = run_batch(fit + " --datum " + quoted(out.file("datum.txt")) + " --save-restored-horizons " +
                  quoted(out.file("other.ts")));
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.output.find("datum.txt:2: horizon \"layer 9\" is not among the horizons"),
              std::string::npos)
        << o.output;
    EXPECT_FALSE(std::filesystem::exists(out.file("other.ts")));
}

namespace {

// The processor seconds a running process has used so far.
double cpu_seconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), {});
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string skipped;
    for (int field = 3; field < 14; ++field)
        fields >> skipped;
    double user = 0, system = 0;
    fields >> user >> system;
    return (user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

pid_t start_batch(const std::vector<std::string>& args) {
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(TOLVEX_BATCH)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        execv(TOLVEX_BATCH, argv.data());
        _exit(127);
    }
    return child;
}

} // namespace

// A signal in a long stage (cutting, horizon pieces, fault surfaces, the section) ends the run
// within half a second of processor time, whatever the machine's load.
TEST_F(Batch, AStopSignalEndsEveryLongStageAtOnce) {
    dir.write("many.efd", many_faults(60));
    std::string ts = "GOCAD TSurf 1\n";
    for (int i = 0; i <= 200; ++i)
        for (int j = 0; j <= 200; ++j)
            ts += "VRTX " + std::to_string(i * 201 + j + 1) + " " + std::to_string(i / 100.0) +
                  " " + std::to_string(j / 100.0) + " 1.1\n";
    for (int i = 0; i < 200; ++i)
        for (int j = 0; j < 200; ++j) {
            const int a = i * 201 + j + 1;
            ts += "TRGL " + std::to_string(a) + " " + std::to_string(a + 1) + " " +
                  std::to_string(a + 201) + "\nTRGL " + std::to_string(a + 1) + " " +
                  std::to_string(a + 202) + " " + std::to_string(a + 201) + "\n";
        }
    dir.write("big.ts", ts + "END\n");
    // Points in the run, the horizon pieces and the outputs of a run of about 3 s; on a faster
    // machine the later ones may come after its end.
    int heard = 0;
    for (const double after : {0.3, 1.2, 2.2}) {
        const pid_t child = start_batch({"--config",
                                         dir.file("tolvex.conf"),
                                         "--faults",
                                         dir.file("many.efd"),
                                         "--horizons",
                                         dir.file("big.ts"),
                                         "--save-horizons",
                                         dir.file("h.vtk"),
                                         "--save-fault-surfaces",
                                         dir.file("f.vtk"),
                                         "--section",
                                         "0,1,2,1.1",
                                         "--save-section",
                                         dir.file("s.svg"),
                                         "--section-step",
                                         "restored",
                                         "--section-step",
                                         "forward:30",
                                         "--section-step",
                                         "forward"});
        int raw = 0;
        double used = 0;
        pid_t ended = 0;
        while ((used = cpu_seconds(child)) < after && (ended = waitpid(child, &raw, WNOHANG)) == 0)
            std::this_thread::yield();
        if (ended == child)
            continue;
        ++heard;
        kill(child, SIGTERM);
        rusage usage{};
        ASSERT_EQ(wait4(child, &raw, 0, &usage), child);
        const double total =
            static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
            1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
        EXPECT_LT(total - used, 0.5) << "after " << after << " s";
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 128 + SIGTERM) << raw;
    }
    EXPECT_GE(heard, 1);
}

// Opening a pipe no one writes to waits; a signal then ends the run as a stop, not as an error.
TEST_F(Batch, AStopSignalEndsAWaitForAPipe) {
    const std::string pipe = dir.file("horizons.ts");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const pid_t child = start_batch({"--config", dir.file("tolvex.conf"), "--faults",
                                     dir.file("cube.efd"), "--horizons", pipe});
    // Polled until it sleeps in the open (the system call's number first in /proc).
    const std::string syscall = "/proc/" + std::to_string(child) + "/syscall";
    int raw = 0;
    while (!read_text(syscall).starts_with(std::to_string(SYS_openat) + " "))
        ASSERT_EQ(waitpid(child, &raw, WNOHANG), 0) << "the run did not wait for the pipe";
    kill(child, SIGINT);
    ASSERT_EQ(waitpid(child, &raw, 0), child);
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 128 + SIGINT) << raw;
}
