// Seeded random garbage: every reader ends in data or input_error, never in a crash, a hang or
// another exception.
#include "config/tolvex_conf.hpp"
#include "formats/boundary_file.hpp"
#include "formats/fault_file.hpp"
#include "formats/horizon_file.hpp"
#include "formats/tracer_file.hpp"
#include "io/input_error.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace tolvex;

namespace {

constexpr int file_count = 10000;

class garbage {
  public:
    explicit garbage(std::vector<std::string> good_lines) : good_(std::move(good_lines)) {}

    // A file of a few lines: good lines, damaged good lines and random bytes.
    std::string file() {
        std::string text;
        const int lines = pick(0, 6);
        for (int i = 0; i < lines; ++i)
            text += line() + (pick(0, 9) == 0 ? "\r\n" : "\n");
        if (pick(0, 1) == 0 && !text.empty())
            text.pop_back(); // no final line feed
        return text;
    }

  private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    char byte() { return static_cast<char>(pick(0, 255)); }

    std::string line() {
        std::string l = good_[static_cast<std::size_t>(pick(0, int(good_.size()) - 1))];
        switch (pick(0, 7)) {
        case 0: { // random bytes, NUL included
            l.assign(static_cast<std::size_t>(pick(0, 80)), '\0');
            std::generate(l.begin(), l.end(), [&] { return byte(); });
            break;
        }
        case 1: // truncated
            l.resize(static_cast<std::size_t>(pick(0, int(l.size()))));
            break;
        case 2: // a byte changed
            if (!l.empty())
                l[static_cast<std::size_t>(pick(0, int(l.size()) - 1))] = byte();
            break;
        case 3: { // a huge or out-of-range number
            static const char* const huge[] = {"1e999",       "-1e-999",    "99999999999999999999",
                                               "-2147483649", "2147483647", "nan",
                                               "inf"};
            l.insert(static_cast<std::size_t>(pick(0, int(l.size()))), huge[pick(0, 6)]);
            break;
        }
        case 4: // a very long line now and then
            if (pick(0, 50) == 0)
                l +=
                    std::string(static_cast<std::size_t>(pick(10000, 200000)), "9, \t"[pick(0, 3)]);
            break;
        default: // a good line
            break;
        }
        return l;
    }

    std::vector<std::string> good_;
    std::mt19937 rng_{20240607};
};

// Runs fn on file_count garbage files; fn returns normally or throws input_error.
template <class Fn> void for_garbage(const std::vector<std::string>& good, Fn&& fn) {
    garbage g(good);
    int rejected = 0;
    for (int i = 0; i < file_count; ++i) {
        try {
            fn(g.file());
        } catch (const input_error& e) {
            EXPECT_GE(e.line(), 1);
            ++rejected;
        }
    }
    // The mixture must exercise both outcomes.
    EXPECT_GT(rejected, 0);
    EXPECT_LT(rejected, file_count);
}

} // namespace

TEST(GarbageInput, TolvexConf) {
    for_garbage({"BOUNDARY_FILE=b.txt", "GL_CLEAR_COLOR=0.1, 0.2, 0.3", "TRACER_RADIUS=50",
                 "SHOW_BLOCK", "INITIAL_VIEW_POINT=1,2,3", "# comment"},
                [](const std::string& text) {
                    tolvex_conf conf;
                    conf.read_text(text, "tolvex.conf");
                    EXPECT_TRUE(conf.loaded);
                    EXPECT_NE(conf.tracer_radius, 0.0);
                    if (!conf.problems.empty())
                        throw conf.problems.front();
                });
}

TEST(GarbageInput, FaultFile) {
    for_garbage({"F1\t30\t60\t120\t45\tN\t1\t2.5\t0\t0\t1\t0\t0.5\t1\t10\t20\t30\t4",
                 "  F2\t1\t2\t3\t4\t\t-7\t1e2\t1\t0\t0\t0\t0\t1\t-1\t-2\t-3\t-9\tmore", "# c", ""},
                [](const std::string& text) {
                    const std::vector<fault> faults = parse_fault_text(text, "faults.efd");
                    EXPECT_TRUE(std::is_sorted(faults.begin(), faults.end(), sortobj_descending()));
                });
}

TEST(GarbageInput, BoundaryFile) {
    for_garbage({"VERTEX=0,0,0", "VERTEX=1, 0 ,0", "VERTEX=0,1,0", "EDGE=0,1", "EDGE=1,2",
                 "FACE=3,0,1,2,0,0,1", "FACE=0,0,0,1", "#x"},
                [](const std::string& text) {
                    block b;
                    try {
                        b = parse_boundary_text(text, "box");
                    } catch (const input_error& e) {
                        // A file without VERTEX= lines is refused as a whole, at no line.
                        if (e.line() != 0)
                            throw;
                        EXPECT_EQ(e.reason().rfind("no VERTEX= line", 0), 0u) << e.what();
                        return;
                    }
                    const auto count = static_cast<int>(b.vertices.size());
                    for (const edge& e : b.edges)
                        EXPECT_TRUE(e[0] >= 0 && e[0] < count && e[1] >= 0 && e[1] < count);
                });
}

TEST(GarbageInput, TracerFile) {
    for_garbage({"1.5, 2.5, 3.5", "-1e2,  0, 7", "  # c", "0, 0, 0"}, [](const std::string& text) {
        point_list points;
        parse_tracer_text(text, "t", 100, points);
    });
}

// Every triangle a horizon reader returns names vertices it has, whatever the file holds.
TEST(GarbageInput, HorizonFiles) {
    for (const char* path : {"h.ts", "h.obj", "h.vtk"})
        for_garbage({"GOCAD TSurf 1", "VRTX 1 0 0 0", "PVRTX 2 1 0 0 5", "ATOM 3 1", "TRGL 1 2 3",
                     "END", "v 0 1 0", "f 1 2 3", "# vtk DataFile Version 3.0", "ASCII",
                     "DATASET POLYDATA", "POINTS 3 double", "POLYGONS 1 4", "3 0 1 2"},
                    [&](const std::string& text) {
                        for (const horizon& h : parse_horizon_text(text, path))
                            for (const triangle& t : h.triangles)
                                for (int c : t)
                                    EXPECT_TRUE(c >= 0 &&
                                                static_cast<std::size_t>(c) < h.vertices.size());
                    });
}
