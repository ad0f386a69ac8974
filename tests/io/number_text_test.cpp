// The locale-free number texts against printf in the C locale, in which this test program runs.
#include "number_text.hpp"
#include "text_fields.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

using namespace tolvex;

namespace {

std::string c_printf(const char* format, double x) {
    char buf[512];
    std::snprintf(buf, sizeof buf, format, x);
    return buf;
}

// Doubles of every kind: random bit patterns (huge, tiny, subnormal, NaN), ordinary values,
// and exact binary fractions that fall halfway between two printed values.
std::vector<double> sample_values() {
    std::vector<double> values = {
        0.0,          -0.0,  DBL_MAX,  -DBL_MAX,    DBL_MIN,
        DBL_TRUE_MIN, 1e300, -1e-300,  0.05,        0.15,
        0.25,         -0.35, 99999.95, 0.000000005, std::numeric_limits<double>::infinity(),
        -std::nan("")};
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> ordinary(-1e6, 1e6);
    std::uniform_int_distribution<long long> whole(-1'000'000'000LL, 1'000'000'000LL);
    for (int i = 0; i < 10000; ++i) {
        values.push_back(std::bit_cast<double>(rng()));
        values.push_back(ordinary(rng));
        // k / 2^9 has nine decimals ending in 5 for odd k: a tie for 8 decimals; k / 4 for 1.
        values.push_back(static_cast<double>(whole(rng)) / 512);
        values.push_back(static_cast<double>(whole(rng) % 100000) / 4);
        // Next to a decimal tie that a double cannot hold exactly.
        const double near_tie = (static_cast<double>(whole(rng) % 1000000) + 0.5) * 1e-8;
        values.push_back(std::nextafter(near_tie, 0.0));
        values.push_back(std::nextafter(near_tie, 1.0));
    }
    return values;
}

} // namespace

TEST(NumberText, SameTextAsCLocalePrintf) {
    for (const double x : sample_values()) {
        ASSERT_EQ(fixed_text(x, 8, 15), c_printf("%15.8f", x)) << x;
        ASSERT_EQ(fixed_text(x, 1, 5), c_printf("%5.1f", x)) << x;
        ASSERT_EQ(general_text(x), c_printf("%.6g", x)) << x;
        if (std::isfinite(x))
            ASSERT_EQ(to_number(shortest_text(x)), x) << x;
    }
    EXPECT_EQ(integer_text(-42, 10), "       -42");
    EXPECT_EQ(integer_text(123456, 5), "123456");
}
