#include "config/conf_run_files.hpp"
#include "config/tolvex_conf.hpp"
#include "tests/support/temp_folder.hpp"

#include <gtest/gtest.h>

using tolvex::tolvex_conf;

namespace {
tolvex_conf conf_from(const std::string& text) {
    tolvex_conf conf;
    conf.read_text(text, "tolvex.conf");
    return conf;
}
} // namespace

TEST(Conf, MissingFileKeepsDefaultsAndEmptyFileIsLoaded) {
    const temp_folder dir;
    tolvex_conf conf;
    EXPECT_FALSE(conf.read((dir.path() / "tolvex.conf").string()));
    EXPECT_FALSE(conf.loaded);
    EXPECT_EQ(conf.boundary_file, "default_boundary");
    EXPECT_EQ(conf.horizon_file, "");
    EXPECT_EQ(conf.clear_color, (std::array<float, 4>{0, 0, 0, 1}));
    EXPECT_EQ(conf.tracer_radius, 100.0);
    EXPECT_EQ(conf.initial_view_point, (std::array<double, 3>{450, -600, 750}));
    EXPECT_FALSE(conf.show_block || conf.show_tracer);

    EXPECT_TRUE(conf.read(dir.write("tolvex.conf", "")));
    EXPECT_TRUE(conf.loaded);
    EXPECT_TRUE(conf.problems.empty());
}

TEST(Conf, ReadsEveryKeyWithCrLfAndALastLineWithoutLineFeed) {
    const temp_folder dir;
    tolvex_conf conf;
    ASSERT_TRUE(conf.read(dir.write("tolvex.conf", "BOUNDARY_FILE=box.txt\r\n"
                                                   "TRACER_I_FILE=t.txt\r\n"
                                                   "HORIZON_FILE=h.ts\r\n"
                                                   "GL_CLEAR_COLOR=0.5, 0.25 ,1\r\n"
                                                   "TRACER_RADIUS=2.5\r\n"
                                                   "UNITS= m \r\n"
                                                   "SHOW_BLOCK=0\r\n"
                                                   "SHOW_TRACER=false\r\n"
                                                   "INITIAL_VIEW_POINT=1,2,3")));
    EXPECT_EQ(conf.boundary_file, "box.txt");
    EXPECT_EQ(conf.tracer_file, "t.txt");
    EXPECT_EQ(conf.horizon_file, "h.ts");
    EXPECT_EQ(conf.clear_color, (std::array<float, 4>{0.5f, 0.25f, 1.0f, 1.0f}));
    EXPECT_EQ(conf.tracer_radius, 2.5);
    EXPECT_EQ(conf.units, "m");
    EXPECT_TRUE(conf.show_block);
    EXPECT_TRUE(conf.show_tracer);
    EXPECT_EQ(conf.initial_view_point, (std::array<double, 3>{1, 2, 3}));
    EXPECT_TRUE(conf.problems.empty());
}

TEST(Conf, KeysCountOnlyAtTheStartInUpperCase) {
    const tolvex_conf conf = conf_from(" SHOW_BLOCK\nshow_tracer\n#SHOW_TRACER\n"
                                       "BOUNDARY_FILE=\n BOUNDARY_FILE=x\n");
    EXPECT_FALSE(conf.show_block);
    EXPECT_FALSE(conf.show_tracer);
    EXPECT_EQ(conf.boundary_file, "");
}

TEST(Conf, FileNamesAreVerbatimAndTheLastLineWins) {
    const tolvex_conf conf = conf_from("TRACER_I_FILE=first\nTRACER_I_FILE= a b # c \n");
    EXPECT_EQ(conf.tracer_file, " a b # c ");
}

TEST(Conf, ThreeNumberKeysNeedThreeFieldsAndIgnoreMore) {
    // Too few values change nothing and are listed with the other bad lines.
    const tolvex_conf few = conf_from("GL_CLEAR_COLOR=1,1\nINITIAL_VIEW_POINT=1,2");
    EXPECT_EQ(few.clear_color, (std::array<float, 4>{0, 0, 0, 1}));
    EXPECT_EQ(few.initial_view_point, (std::array<double, 3>{450, -600, 750}));
    ASSERT_EQ(few.problems.size(), 2u);
    EXPECT_STREQ(few.problems[0].what(), "tolvex.conf:1: GL_CLEAR_COLOR= needs 3 values, 2 found");
    EXPECT_EQ(few.problems[1].line(), 2);
    EXPECT_EQ(conf_from("GL_CLEAR_COLOR=1,0,1,0").clear_color, (std::array<float, 4>{1, 0, 1, 1}));
    EXPECT_EQ(conf_from("INITIAL_VIEW_POINT=1,2,3,x").initial_view_point,
              (std::array<double, 3>{1, 2, 3}));
}

TEST(Conf, BadValuesKeepTheEarlierValueAndAreCollected) {
    const tolvex_conf conf = conf_from("TRACER_RADIUS=5\n"
                                       "TRACER_RADIUS= 7\n"
                                       "TRACER_RADIUS=7 \n"
                                       "TRACER_RADIUS=0\n"
                                       "GL_CLEAR_COLOR=1,,1\n"
                                       "INITIAL_VIEW_POINT=1,2,3e999\n"
                                       "SHOW_BLOCK\n"
                                       "UNITS=m\tft\n");
    EXPECT_TRUE(conf.loaded);
    EXPECT_EQ(conf.tracer_radius, 5.0);
    EXPECT_EQ(conf.clear_color, (std::array<float, 4>{0, 0, 0, 1}));
    EXPECT_EQ(conf.initial_view_point, (std::array<double, 3>{450, -600, 750}));
    EXPECT_TRUE(conf.show_block);
    ASSERT_EQ(conf.problems.size(), 6u);
    EXPECT_STREQ(conf.problems[0].what(), "tolvex.conf:2: TRACER_RADIUS=: \" 7\" is not a number");
    EXPECT_EQ(conf.problems[3].reason(), "GL_CLEAR_COLOR= green: \"\" is not a number");
    EXPECT_EQ(conf.problems[4].line(), 6);
    EXPECT_EQ(conf.problems[5].line(), 8);
    EXPECT_NE(conf.problems[5].reason().find("UNITS=: "), std::string::npos);
}

TEST(Conf, ViewModesStartAsTheDefaultLookUnlessTheirKeysNameAnother) {
    const display_modes plain = conf_from("SHOW_BLOCK\n").view().modes;
    EXPECT_FALSE(plain.lit);
    EXPECT_EQ(plain.colouring, face_colouring::white);
    EXPECT_EQ(plain.tracers, tracer_look::green);
    EXPECT_EQ(plain.blocks, block_look::shown);

    const tolvex_conf conf = conf_from("VIEW_SHADING=lit\nVIEW_COLOUR= fault\n"
                                       "VIEW_TRACERS=elevation\nVIEW_BLOCKS=see-through\n"
                                       "VIEW_COLOUR=pink\n");
    EXPECT_TRUE(conf.view().modes.lit);
    EXPECT_EQ(conf.view().modes.colouring, face_colouring::fault_side) << "pink is ignored";
    EXPECT_EQ(conf.view().modes.tracers, tracer_look::elevation);
    EXPECT_EQ(conf.view().modes.blocks, block_look::see_through);
    ASSERT_EQ(conf.problems.size(), 1u);
    EXPECT_EQ(conf.problems[0].line(), 5);
}

// Each run's own horizon file is read and joined to the settings' folder; one for both runs
// given beside them is refused at its line, keeping what came first.
TEST(Conf, HorizonFilesOfOneRunAreRefusedBesideOneForBoth) {
    const tolvex_conf conf = conf_from("PRESENT_HORIZON_FILE=p.ts\nUNDEFORMED_HORIZON_FILE=u.ts\n"
                                       "HORIZON_FILE=h.ts\n");
    const tolvex::run_files files = tolvex::configured_run_files(conf, "/d");
    EXPECT_EQ(files.present_horizon_path, "/d/p.ts");
    EXPECT_EQ(files.undeformed_horizon_path, "/d/u.ts");
    EXPECT_EQ(files.horizon_path, "");
    ASSERT_EQ(conf.problems.size(), 1u);
    EXPECT_EQ(conf.problems[0].line(), 3);
    EXPECT_NE(std::string(conf.problems[0].what()).find("HORIZON_FILE= cannot be given with"),
              std::string::npos);
}
