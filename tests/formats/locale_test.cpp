// Files and texts are the same on a desktop whose locale writes decimal commas, as the desktop
// program's is once Qt has set the C library's locale from the environment.
#include "formats/block_export.hpp"
#include "formats/boundary_file.hpp"
#include "formats/fault_file.hpp"
#include "formats/tracer_file.hpp"
#include "tests/support/box.hpp"
#include "tests/support/comma_locale.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

using namespace tolvex;

TEST(DecimalCommaLocale, FilesAndListLinesAreWrittenAndReadAsInTheCLocale) {
    const point_list tracers{make_vec3(-810, -550, 0.125), make_vec3(1e-9, 12345.678901, -0.5)};
    const std::vector<block> blocks{
        parse_boundary_text(box_boundary(make_vec3(0, 0, 0), make_vec3(1.5, 2.5, 0.1)), "box")};
    const std::string fault_text =
        "F\t70\t45.5\t120.25\t-3.75\tN\t7\t1.5\t1\t0\t0\t0\t0\t1\t0\t0\t0\t3";
    const auto list_line = [&] { return fault_list_line(parse_fault_text(fault_text, "f").at(0)); };

    const temp_folder dir;
    write_tracer_file(dir.write("c.txt", ""), tracers, 100);
    const std::string c_list = list_line();
    const std::string c_vtk = blocks_to_vtk(blocks, make_vec3(0.5, 1e6, -2.25));
    const std::string c_obj = blocks_to_obj(blocks, make_vec3(0.5, 1e6, -2.25));

    const comma_locale comma;
    if (!comma.active())
        GTEST_SKIP() << "no locale with decimal commas, and localedef could not build one";
    char probe[8];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    ASSERT_STREQ(probe, "0,5") << "the C library writes decimal commas now";

    write_tracer_file(dir.write("comma.txt", ""), tracers, 100);
    EXPECT_EQ(read_text((dir.path() / "comma.txt").string()),
              read_text((dir.path() / "c.txt").string()));
    EXPECT_EQ(list_line(), c_list);
    EXPECT_EQ(blocks_to_vtk(blocks, make_vec3(0.5, 1e6, -2.25)), c_vtk);
    EXPECT_EQ(blocks_to_obj(blocks, make_vec3(0.5, 1e6, -2.25)), c_obj);

    point_list back;
    ASSERT_TRUE(read_tracer_file((dir.path() / "comma.txt").string(), 100, back));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1][1], 12345.678901);
}
