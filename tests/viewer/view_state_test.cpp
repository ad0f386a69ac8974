#include <gtest/gtest.h>
TEST(ViewState, Placeholder) {}
