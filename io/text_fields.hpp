// Fields of a text line: splitting, trimming and the number and integer rules shared by every
// reader, with conversions that name the file, line and field when a value is bad.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex {

// The white space trimmed from lines and fields: space, tab, CR, LF, vertical tab, form feed.
inline constexpr std::string_view blank_chars = " \t\r\n\v\f";

// text without white space at either end.
std::string_view trim_blanks(std::string_view text);

// The words of text: runs of characters between blanks (spaces and tabs), none empty.
std::vector<std::string_view> split_words(std::string_view text);

// text cut at every separator (adjacent separators give an empty field), each field trimmed.
std::vector<std::string> split_fields(std::string_view text, char separator);

// The whole text as one decimal number as classic-locale stream input reads it, whatever the
// process locale: no blank before or after, nothing left over, nothing beyond the double range (a
// value too small for a double reads as 0). inf and nan are not numbers.
std::optional<double> to_number(std::string_view text);

// The place value of the last digit written after the decimal point of a number's text (0.001 for
// "12.340", 10 for "1.23e3"), for how far a rounded value may lie from the one meant; 0 for a
// number written without a decimal point, taken as exact.
double decimal_step(std::string_view text);

// The whole text as an optional sign and decimal digits within the 32-bit signed range.
std::optional<int> to_integer(std::string_view text);

// The text found, quoted for a message; long texts are shortened and unprintable bytes escaped,
// so a garbage line gives a short, readable reason.
std::string quoted_text(std::string_view text);

// Where a value comes from, for the errors below.
struct line_ref {
    const std::string& path;
    int line;
};

// to_number / to_integer that throw input_error "what: "text" is not a number" (or integer, or
// out of range) at the line.
double number_value(std::string_view text, const line_ref& at, std::string_view what);
int integer_value(std::string_view text, const line_ref& at, std::string_view what);

} // namespace tolvex
