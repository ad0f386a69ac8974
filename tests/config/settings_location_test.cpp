// Which settings file the desktop program reads, and what a first start writes.
#include "config/first_settings.hpp"
#include "config/settings_location.hpp"
#include "config/tolvex_conf.hpp"
#include "io/input_error.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"

#include <filesystem>
#include <set>

#include <gtest/gtest.h>

using namespace tolvex;

TEST(SettingsLocation, GivenThenBesideTheProgramThenTheUsersFileWhichAFirstStartWrites) {
    struct row {
        settings_places places;
        std::set<std::string> existing;
        settings_source source;
        std::string path;
    };
    const std::set<std::string> all{"/bin/tolvex.conf", "/x/tolvex/tolvex.conf",
                                    "/h/.config/tolvex/tolvex.conf"};
    const std::vector<row> rows{
        {{"/g.conf", "/bin", "/x", "/h"}, all, settings_source::given, "/g.conf"},
        {{std::nullopt, "/bin", "/x", "/h"},
         all,
         settings_source::beside_executable,
         "/bin/tolvex.conf"},
        {{std::nullopt, "/bin", "/x", "/h"},
         {"/x/tolvex/tolvex.conf"},
         settings_source::user,
         "/x/tolvex/tolvex.conf"},
        {{std::nullopt, "/bin", "/x", "/h"},
         {},
         settings_source::first_start,
         "/x/tolvex/tolvex.conf"},
        // A relative XDG_CONFIG_HOME is ignored, not taken in the current folder.
        {{std::nullopt, "/bin", "x", "/h"},
         {"x/tolvex/tolvex.conf"},
         settings_source::first_start,
         "/h/.config/tolvex/tolvex.conf"},
        {{std::nullopt, "/bin", "", ""}, {}, settings_source::none, ""},
    };
    for (const row& r : rows) {
        const settings_choice choice =
            choose_settings(r.places, [&](const std::string& p) { return r.existing.contains(p); });
        EXPECT_EQ(choice.source, r.source) << r.path;
        EXPECT_EQ(choice.path, r.path);
    }
}

TEST(FirstSettings, NamesTheExampleFilesAbsolutelyAndKeepsEveryOtherSetting) {
    const temp_folder dir;
    const std::string path = dir.file("a/b/tolvex.conf");
    write_first_settings(path, TOLVEX_EXAMPLES);

    tolvex_conf example, first;
    ASSERT_TRUE(example.read(TOLVEX_EXAMPLES "/tolvex.conf"));
    ASSERT_TRUE(first.read(path));
    EXPECT_TRUE(first.problems.empty());
    EXPECT_EQ(first.boundary_file, TOLVEX_EXAMPLES "/" + example.boundary_file);
    EXPECT_EQ(first.tracer_file, TOLVEX_EXAMPLES "/" + example.tracer_file);
    EXPECT_EQ(first.horizon_file, TOLVEX_EXAMPLES "/" + example.horizon_file);
    for (const std::string& name : {first.boundary_file, first.tracer_file, first.horizon_file})
        EXPECT_TRUE(std::filesystem::exists(name)) << name;
    EXPECT_EQ(first.clear_color, example.clear_color);
    EXPECT_EQ(first.tracer_radius, example.tracer_radius);
    EXPECT_EQ(first.initial_view_point, example.initial_view_point);
    EXPECT_EQ(first.show_block, example.show_block);
    EXPECT_EQ(first.show_tracer, example.show_tracer);

    const std::string text =
        first_settings_text("# beside me\nBOUNDARY_FILE=/own/b\nTRACER_I_FILE=t\n", "/ex");
    EXPECT_NE(text.find("\nBOUNDARY_FILE=/own/b\nTRACER_I_FILE=/ex/t\n"), std::string::npos);
    EXPECT_EQ(text.find("beside me"), std::string::npos);
}

TEST(FirstSettings, AFileThatCannotBeWrittenIsNamedAndNothingIsLeft) {
    const temp_folder dir;
    const std::string blocked = dir.write("home", "a file where a folder should be\n");
    try {
        write_first_settings(blocked + "/tolvex/tolvex.conf", TOLVEX_EXAMPLES);
        ADD_FAILURE() << "no error";
    } catch (const output_error& e) {
        EXPECT_NE(std::string(e.what()).find(blocked + "/tolvex/tolvex.conf"), std::string::npos)
            << e.what();
    }
    EXPECT_THROW(write_first_settings(dir.file("t.conf"), dir.file("no-examples")), input_error);
    EXPECT_FALSE(std::filesystem::exists(dir.file("t.conf")));
    EXPECT_EQ(read_text(blocked), "a file where a folder should be\n");
}
