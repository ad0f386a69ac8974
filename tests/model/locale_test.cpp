// Files and texts are the same on a desktop whose locale writes decimal commas, as the desktop
// program's is once Qt has set the C library's locale from the environment.
#include "block_export.hpp"
#include "boundary_file.hpp"
#include "box.hpp"
#include "fault_file.hpp"
#include "temp_folder.hpp"
#include "text_files.hpp"
#include "tracer_file.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

using namespace tolvex;

namespace {

constexpr const char* comma_locale_name = "de_DE.UTF-8";

bool writes_decimal_comma() {
    return std::localeconv()->decimal_point == std::string(",");
}

// Sets the C library's locale to one that writes decimal commas while it lives, building it with
// localedef into a private folder when the system has none; active() tells whether that worked.
class comma_locale {
  public:
    comma_locale() {
        if (use())
            return;
        const std::string command = "localedef -i de_DE -f UTF-8 '" +
                                    (folder.path() / comma_locale_name).string() +
                                    "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == -1)
            return;
        ::setenv("LOCPATH", folder.path().c_str(), 1);
        use();
    }
    ~comma_locale() {
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
    }
    comma_locale(const comma_locale&) = delete;
    comma_locale& operator=(const comma_locale&) = delete;
    bool active() const { return active_; }

  private:
    bool use() {
        active_ = std::setlocale(LC_ALL, comma_locale_name) != nullptr && writes_decimal_comma();
        return active_;
    }
    temp_folder folder;
    bool active_ = false;
};

} // namespace

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
    const std::string c_vtk = blocks_to_vtk(blocks);
    const std::string c_obj = blocks_to_obj(blocks);

    const comma_locale comma;
    if (!comma.active())
        GTEST_SKIP() << "no locale with decimal commas (" << comma_locale_name
                     << ") and localedef could not build one";
    char probe[8];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    ASSERT_STREQ(probe, "0,5") << "the C library writes decimal commas now";

    write_tracer_file(dir.write("comma.txt", ""), tracers, 100);
    EXPECT_EQ(read_text((dir.path() / "comma.txt").string()),
              read_text((dir.path() / "c.txt").string()));
    EXPECT_EQ(list_line(), c_list);
    EXPECT_EQ(blocks_to_vtk(blocks), c_vtk);
    EXPECT_EQ(blocks_to_obj(blocks), c_obj);

    point_list back;
    ASSERT_TRUE(read_tracer_file((dir.path() / "comma.txt").string(), 100, back));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1][1], 12345.678901);
}
