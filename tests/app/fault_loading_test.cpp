#include "app/fault_loading.hpp"
#include "formats/fault_file.hpp"
#include "io/input_error.hpp"
#include "tests/support/fault_line.hpp"
#include "tests/support/temp_folder.hpp"

#include <gtest/gtest.h>

using namespace tolvex;

TEST(FaultLoading, LoadReplacesTheListsOnlyWhenTheWholeFileIsGood) {
    const temp_folder dir;
    desktop_document doc;
    doc.tracers_init.assign(1, make_vec3(1, 2, 3));
    EXPECT_FALSE(load_fault_file(doc, (dir.path() / "missing.efd").string()));
    EXPECT_EQ(doc.tracers_init.size(), 1u);

    const auto lines =
        load_fault_file(doc, dir.write("a.efd", fault_line(1, 1) + "\n" + fault_line(2, 5)));
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (std::vector<std::string>{fault_list_line(doc.faults_loaded[0]),
                                                fault_list_line(doc.faults_loaded[1])}));
    EXPECT_EQ(doc.faults_loaded[0].id, 2);
    EXPECT_TRUE(doc.tracers_init.empty());
    EXPECT_EQ(doc.fault_path, dir.file("a.efd"));

    doc.tracers_init.assign(1, make_vec3(1, 2, 3));
    EXPECT_THROW(load_fault_file(doc, dir.write("bad.efd", fault_line(3, 1) + "\nx")), input_error);
    EXPECT_EQ(doc.faults_loaded.size(), 2u);
    EXPECT_EQ(doc.tracers_init.size(), 1u);

    ASSERT_TRUE(load_fault_file(doc, dir.write("c.efd", fault_line(9, 3))));
    ASSERT_EQ(doc.faults_loaded.size(), 1u);
    EXPECT_EQ(doc.faults_loaded[0].id, 9);

    ASSERT_TRUE(load_fault_file(doc, dir.write("d.efd", "# only a comment\n")));
    EXPECT_TRUE(doc.faults_loaded.empty());
}
