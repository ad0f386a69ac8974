// The locale-free number texts against printf in the C locale, in which this test program runs.
#include "io/number_text.hpp"
#include "io/text_fields.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale>
#include <random>
#include <sstream>
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
        if (std::isfinite(x)) {
            ASSERT_EQ(to_number(shortest_text(x)), x) << x;
        }
    }
    EXPECT_EQ(integer_text(-42, 10), "       -42");
    EXPECT_EQ(integer_text(123456, 5), "123456");
}

// The number rule reads what classic-locale stream input reads, bit for bit, over random texts:
// short and long digit strings, points anywhere, exponents small and large.
TEST(NumberText, ReadsWhatTheClassicStreamReads) {
    std::mt19937_64 rng(20240612);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = pick(0, 2) == 0 ? "-" : "";
        const int digits = pick(1, 25);
        const int point = pick(0, digits);
        for (int d = 0; d < digits; ++d)
            text += (d == point ? "." : "") + std::to_string(pick(0, 9));
        if (pick(0, 1) == 0)
            text += "e" + std::to_string(pick(-340, 330));
        std::istringstream in(text);
        in.imbue(std::locale::classic());
        double expected = 0.0;
        in >> expected;
        const std::optional<double> value = to_number(text);
        if (in.fail())
            ASSERT_FALSE(value) << text;
        else
            ASSERT_EQ(std::bit_cast<std::uint64_t>(value.value_or(-1)),
                      std::bit_cast<std::uint64_t>(expected))
                << text;
    }
}
