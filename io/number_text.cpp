#include "io/number_text.hpp"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace tolvex {

namespace {

// Room for the longest fixed-point double (309 integer digits) with 100 decimals.
constexpr std::size_t buffer_size = 512;

constexpr int fast_decimals = 18;

constexpr std::uint64_t power_of_ten(int n) {
    std::uint64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// |x| * 10^decimals rounded to the nearest integer, ties to even, computed exactly from x's
// binary mantissa and exponent as printf rounds; nullopt when the result could leave 63 bits.
std::optional<std::uint64_t> scaled_integer(double x, int decimals) {
    if (decimals > fast_decimals || !(std::abs(x) < 4e18 / double(power_of_ten(decimals))))
        return std::nullopt;
    const auto bits = std::bit_cast<std::uint64_t>(x);
    const auto biased = static_cast<int>((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    // x = mantissa * 2^exponent
    const std::uint64_t mantissa = biased == 0 ? fraction : fraction | std::uint64_t{1} << 52;
    const int exponent = (biased == 0 ? 1 : biased) - 1075;
    __extension__ typedef unsigned __int128 u128; // GCC's and clang's 128-bit integer
    const u128 product = u128{mantissa} * power_of_ten(decimals); // below 2^113
    if (exponent >= 0)
        return static_cast<std::uint64_t>(product << exponent); // |x| < 2^62: exponent < 10
    const int shift = -exponent;
    if (shift >= 127)
        return 0; // below 2^-14, so it rounds to 0
    const u128 quotient = product >> shift;
    const u128 rest = product - (quotient << shift);
    const u128 half = u128{1} << (shift - 1);
    const bool up = rest > half || (rest == half && (quotient & 1) != 0);
    return static_cast<std::uint64_t>(quotient + (up ? 1 : 0));
}

// Appends text right-aligned in width characters, as printf pads.
void append_padded(std::string& out, const char* first, const char* last, int width) {
    const auto size = static_cast<int>(last - first);
    if (width > size)
        out.append(static_cast<std::size_t>(width - size), ' ');
    out.append(first, last);
}

// "00", "01", ... "99": two digits per division, half the divisions of one digit at a time.
constexpr std::array<char, 200> digit_pairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes the lowest count digits of n right to left so that they end at p, divides n by
// 10^count, and returns where the digits start.
char* put_digits(char* p, std::uint64_t& n, int count) {
    for (; count >= 2; count -= 2, n /= 100) {
        p -= 2;
        std::memcpy(p, &digit_pairs[2 * (n % 100)], 2);
    }
    if (count == 1) {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    return p;
}

} // namespace

void append_fixed(std::string& out, double x, int decimals, int width) {
    char buf[buffer_size];
    const std::optional<std::uint64_t> scaled = scaled_integer(x, decimals);
    if (!scaled) {
        const auto res =
            std::to_chars(buf, buf + buffer_size, x, std::chars_format::fixed, decimals);
        append_padded(out, buf, res.ptr, width);
        return;
    }
    // The common case without to_chars' general fixed-point path, several times faster: the
    // scaled integer's digits from the right with the point set in, at least one digit before
    // it, then the sign and the padding, so the text goes to out in one piece.
    char* const last = buf + buffer_size;
    std::uint64_t n = *scaled;
    char* p = put_digits(last, n, decimals);
    if (decimals > 0)
        *--p = '.';
    while (n >= 100)
        p = put_digits(p, n, 2);
    p = put_digits(p, n, n >= 10 ? 2 : 1);
    if (std::signbit(x))
        *--p = '-';
    while (last - p < width && p != buf)
        *--p = ' ';
    append_padded(out, p, last, width);
}

std::string fixed_text(double x, int decimals, int width) {
    std::string out;
    append_fixed(out, x, decimals, width);
    return out;
}

std::string integer_text(long long n, int width) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, n);
    std::string out;
    append_padded(out, buf, res.ptr, width);
    return out;
}

std::string general_text(double x, int precision) {
    char buf[buffer_size];
    const auto res =
        std::to_chars(buf, buf + buffer_size, x, std::chars_format::general, precision);
    return std::string(buf, res.ptr);
}

void append_shortest(std::string& out, double x) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    out.append(buf, res.ptr);
}

std::string shortest_text(double x) {
    std::string out;
    append_shortest(out, x);
    return out;
}

} // namespace tolvex
