#include "text_fields.hpp"

#include "input_error.hpp"

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/algorithm/string/trim.hpp>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <locale>
#include <sstream>

namespace tolvex {

namespace {

bool is_blank(char c) {
    return blank_chars.find(c) != std::string_view::npos;
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// An optional sign followed by at least one digit and nothing else.
bool is_integer_text(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), is_digit);
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
    // Stream input would skip leading white space; the rule does not.
    if (text.empty() || is_blank(text.front()))
        return std::nullopt;
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    double value = 0.0;
    in >> value;
    if (in.fail() || in.peek() != std::char_traits<char>::eof())
        return std::nullopt;
    return value;
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

double number_value(std::string_view text, const line_ref& at, const std::string& what) {
    if (const auto value = to_number(text))
        return *value;
    throw input_error(at.path, at.line, what + ": " + quoted_text(text) + " is not a number");
}

int integer_value(std::string_view text, const line_ref& at, const std::string& what) {
    if (const auto value = to_integer(text))
        return *value;
    const char* const problem =
        is_integer_text(text) ? " is outside the 32-bit integer range" : " is not an integer";
    throw input_error(at.path, at.line, what + ": " + quoted_text(text) + problem);
}

} // namespace tolvex
