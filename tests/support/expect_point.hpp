// Expects each coordinate of p within tolerance of (x, y, z); a tolerance of 0 asks for equality.
#pragma once

#include "geometry/vector3.hpp"

#include <gtest/gtest.h>

inline void expect_point(const vec3& p, double x, double y, double z, double tolerance = 1e-12) {
    EXPECT_NEAR(p[0], x, tolerance);
    EXPECT_NEAR(p[1], y, tolerance);
    EXPECT_NEAR(p[2], z, tolerance);
}
