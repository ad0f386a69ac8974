#include "fault_file.hpp"
#include "fault_line.hpp"
#include "fault_loading.hpp"
#include "input_error.hpp"
#include "model_lists.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

using namespace tolvex;

TEST(FaultLoading, LoadReplacesTheListsOnlyWhenTheWholeFileIsGood) {
    const temp_folder dir;
    faults_retro.clear();
    faults_loaded.clear();
    tracers_init.assign(1, make_vec3(1, 2, 3));
    EXPECT_FALSE(load_fault_file((dir.path() / "missing.efd").string()));
    EXPECT_EQ(tracers_init.size(), 1u);

    const auto lines =
        load_fault_file(dir.write("a.efd", fault_line(1, 1) + "\n" + fault_line(2, 5)));
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (std::vector<std::string>{fault_list_line(faults_retro[0]),
                                                fault_list_line(faults_retro[1])}));
    EXPECT_EQ(faults_retro[0].id, 2);
    EXPECT_EQ(faults_loaded.size(), 2u);
    EXPECT_TRUE(tracers_init.empty());

    tracers_init.assign(1, make_vec3(1, 2, 3));
    EXPECT_THROW(load_fault_file(dir.write("bad.efd", fault_line(3, 1) + "\nx")), input_error);
    EXPECT_EQ(faults_retro.size(), 2u);
    EXPECT_EQ(faults_loaded.size(), 2u);
    EXPECT_EQ(tracers_init.size(), 1u);

    ASSERT_TRUE(load_fault_file(dir.write("c.efd", fault_line(9, 3))));
    ASSERT_EQ(faults_retro.size(), 1u);
    EXPECT_EQ(faults_retro[0].id, 9);

    ASSERT_TRUE(load_fault_file(dir.write("d.efd", "# only a comment\n")));
    EXPECT_TRUE(faults_retro.empty());
    EXPECT_TRUE(faults_loaded.empty());
}
