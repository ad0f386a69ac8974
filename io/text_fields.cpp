#include "io/text_fields.hpp"

#include "io/input_error.hpp"

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/algorithm/string/trim.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <locale>
#include <sstream>

namespace tolvex {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// An optional sign followed by at least one digit and nothing else.
bool is_integer_text(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), is_digit);
}

// A decimal number's text taken apart: its value is (-1 if negative) * mantissa * 10^exponent
// as long as exact holds (at most 18 digits without the leading zeros, a short exponent).
struct decimal_parts {
    bool negative = false;
    std::uint64_t mantissa = 0;
    int exponent = 0;
    bool exact = true;
};

constexpr std::uint64_t mantissa_limit = 1'000'000'000'000'000'000ULL;

// Moves i past the decimal digits of text from i on, adding them to parts' mantissa (each one
// after the point lowers the exponent); returns how many there were.
std::size_t take_digits(std::string_view text, std::size_t& i, decimal_parts& parts,
                        bool after_point) {
    const std::size_t start = i;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        if (parts.mantissa >= mantissa_limit) {
            parts.exact = false;
            continue;
        }
        parts.mantissa = parts.mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
        parts.exponent -= after_point ? 1 : 0;
    }
    return i - start;
}

// An optional sign, digits with an optional decimal point (at least one digit), an optional
// exponent ("e" or "E", an optional sign, digits), and nothing else: what classic-locale stream
// input reads as one decimal number. nullopt for any other text.
std::optional<decimal_parts> decimal_text(std::string_view text) {
    decimal_parts parts;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        parts.negative = text[i++] == '-';
    std::size_t digits = take_digits(text, i, parts, false);
    if (i < text.size() && text[i] == '.')
        digits += take_digits(text, ++i, parts, true);
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t start = i;
        int exponent = 0;
        for (; i < text.size() && is_digit(text[i]); ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), 100000);
        if (i == start)
            return std::nullopt;
        parts.exponent += negative ? -exponent : exponent;
    }
    if (i != text.size())
        return std::nullopt;
    return parts;
}

// The powers of ten that a double holds exactly.
constexpr std::array<double, 23> exact_powers = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Classic-locale stream input, which reads a value too small for a double as 0 and fails on one
// too large; only asked when from_chars finds the value out of range.
std::optional<double> stream_number(std::string_view text) {
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    double value = 0.0;
    in >> value;
    if (in.fail())
        return std::nullopt;
    return value;
}

constexpr std::size_t quoted_limit = 40;

} // namespace

std::string_view trim_blanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(blank_chars);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(blank_chars);
    return text.substr(first, last - first + 1);
}

std::vector<std::string> split_fields(std::string_view text, char separator) {
    std::vector<std::string> fields;
    const char separators[] = {separator, '\0'};
    boost::split(fields, text, boost::is_any_of(separators));
    for (std::string& field : fields)
        boost::trim_if(field, boost::is_any_of(blank_chars));
    return fields;
}

std::optional<double> to_number(std::string_view text) {
    const std::optional<decimal_parts> parts = decimal_text(text);
    if (!parts)
        return std::nullopt;
    // A mantissa and a power of ten that are both exact doubles give the correctly rounded value
    // in one operation: the usual short values need no general conversion.
    if (parts->exact && parts->mantissa < (std::uint64_t{1} << 53) &&
        std::abs(parts->exponent) < static_cast<int>(exact_powers.size())) {
        const auto mantissa = static_cast<double>(parts->mantissa);
        const double power = exact_powers[static_cast<std::size_t>(std::abs(parts->exponent))];
        const double value = parts->exponent < 0 ? mantissa / power : mantissa * power;
        return parts->negative ? -value : value;
    }
    const std::string_view digits = text.front() == '+' ? text.substr(1) : text;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range)
        return stream_number(text);
    if (ec != std::errc{} || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

std::vector<std::string_view> split_words(std::string_view text) {
    std::vector<std::string_view> words;
    for (;;) {
        const std::size_t begin = text.find_first_not_of(" \t\r\v\f");
        if (begin == std::string_view::npos)
            return words;
        text.remove_prefix(begin);
        const std::size_t end = std::min(text.find_first_of(" \t\r\v\f"), text.size());
        words.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
}

double decimal_step(std::string_view text) {
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos)
        return 0.0;
    const std::size_t e = text.find_first_of("eE", point);
    const auto decimals =
        static_cast<int>((e == std::string_view::npos ? text.size() : e) - point - 1);
    const int exponent =
        e == std::string_view::npos ? 0 : to_integer(text.substr(e + 1)).value_or(0);
    return std::pow(10.0, exponent - decimals);
}

std::optional<int> to_integer(std::string_view text) {
    if (!is_integer_text(text))
        return std::nullopt;
    if (text.front() == '+') // from_chars takes a minus sign only
        text.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string quoted_text(std::string_view text) {
    std::string out = "\"";
    for (const char c : text.substr(0, quoted_limit)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    if (text.size() > quoted_limit)
        out += "...";
    return out + "\"";
}

double number_value(std::string_view text, const line_ref& at, std::string_view what) {
    if (const auto value = to_number(text))
        return *value;
    throw input_error(at.path, at.line,
                      std::string(what) + ": " + quoted_text(text) + " is not a number");
}

int integer_value(std::string_view text, const line_ref& at, std::string_view what) {
    if (const auto value = to_integer(text))
        return *value;
    const char* const problem =
        is_integer_text(text) ? " is outside the 32-bit integer range" : " is not an integer";
    throw input_error(at.path, at.line, std::string(what) + ": " + quoted_text(text) + problem);
}

} // namespace tolvex
