// The desktop program before Qt starts: what --help, --version and mistakes print and return, and
// the settings file it starts with, a first start writing the user's from the example once.
#include "app/command_line.hpp"
#include "config/tolvex_conf.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"

#include <filesystem>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

using namespace tolvex;

namespace {

struct outcome {
    std::variant<start_plan, int> result;
    std::string out, err;
    int status() const { return std::holds_alternative<int>(result) ? std::get<int>(result) : -1; }
    const start_plan& plan() const { return std::get<start_plan>(result); }
};

class command_line : public ::testing::Test {
  protected:
    outcome start(std::vector<std::string> args) {
        args.insert(args.begin(), "tolvex");
        std::vector<const char*> argv;
        for (const std::string& a : args)
            argv.push_back(a.c_str());
        std::ostringstream out, err;
        auto result = plan_start(static_cast<int>(argv.size()), argv.data(), places,
                                 TOLVEX_EXAMPLES, out, err);
        return {std::move(result), out.str(), err.str()};
    }

    temp_folder dir;
    settings_places places{std::nullopt, dir.file("bin"), "", dir.file("home")};
    std::string user_file = dir.file("home/.config/tolvex/tolvex.conf");
};

} // namespace

TEST_F(command_line, help_and_version_print_to_standard_output_and_exit_zero) {
    const outcome version = start({"-V"});
    EXPECT_EQ(version.status(), 0);
    EXPECT_EQ(version.out, "tolvex " TOLVEX_VERSION "\n");
    const outcome help = start({"-h"});
    EXPECT_EQ(help.status(), 0);
    EXPECT_TRUE(help.out.starts_with("usage: tolvex [--config FILE] [FAULTS.efd]")) << help.out;
    EXPECT_TRUE(help.err.empty() && version.err.empty());
}

TEST_F(command_line, mistakes_name_what_is_wrong_and_start_nothing) {
    const std::string missing = dir.file("missing.efd");
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases{
        {{"--bogus"}, 2, "--bogus"},
        {{"a.efd", "b.efd"}, 2, "b.efd"},
        {{"--config"}, 2, "--config"},
        {{"--config", dir.file("none.conf")}, 1, "--config " + dir.file("none.conf") + ": no such"},
        {{"--config", dir.path().string()}, 1, dir.path().string() + ": is a folder"},
        {{missing}, 1, missing + ": no such file"},
    };
    for (const auto& [args, status, named] : cases) {
        const outcome o = start(args);
        EXPECT_EQ(o.status(), status) << named;
        EXPECT_TRUE(o.err.starts_with("tolvex: ")) << o.err;
        EXPECT_NE(o.err.find(named), std::string::npos) << o.err;
        EXPECT_EQ(o.err.ends_with("\nTry 'tolvex --help' for more information.\n"), status == 2)
            << o.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("home")));
}

TEST_F(command_line, a_first_start_writes_the_users_settings_once_and_says_so) {
    const outcome first = start({});
    EXPECT_EQ(first.plan().settings_file, user_file);
    EXPECT_NE(first.plan().notice.find(user_file), std::string::npos) << first.plan().notice;
    tolvex_conf conf;
    ASSERT_TRUE(conf.read(user_file));
    EXPECT_TRUE(std::filesystem::exists(conf.boundary_file)) << conf.boundary_file;

    write_text(user_file, "TRACER_RADIUS=7\n");
    const outcome later = start({});
    EXPECT_EQ(later.plan().settings_file, user_file);
    EXPECT_TRUE(later.plan().notice.empty());
    EXPECT_EQ(read_text(user_file), "TRACER_RADIUS=7\n");
}

TEST_F(command_line, a_first_start_that_cannot_write_uses_the_example_and_says_why) {
    write_text(dir.file("home"), "not a folder\n");
    const outcome o = start({});
    EXPECT_EQ(o.plan().settings_file, TOLVEX_EXAMPLES "/tolvex.conf");
    EXPECT_NE(o.plan().notice.find(user_file), std::string::npos) << o.plan().notice;
}
