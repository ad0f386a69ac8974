// Reading text input files: the whole file in, then one line at a time under the rule that every
// reader shares. A line feed ends a line and is not part of it, nor is a carriage return just
// before it; the last line needs no line feed, and a final line feed is followed by one empty line.
// A UTF-8 byte-order mark at the start of the text belongs to no line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvex {

// No line of any input file comes near this; a longer one means the file is not text.
inline constexpr std::size_t max_line_bytes = std::size_t{4} << 20;

// The bytes of the file at path; nullopt when no file of that name exists. Throws open_error when
// it exists but cannot be opened, input_error (line 0, with the system's reason) when reading
// fails after opening, so a reader never works on half a file, and input_error at the line when a
// line is longer than max_line_bytes.
std::optional<std::string> read_text_file(const std::string& path);

// Calls fn(line, number) for each line of text, numbered from 1.
template <class Fn> void for_each_line(std::string_view text, Fn&& fn) {
    // Editors on some desktops start UTF-8 files with a byte-order mark; it would hide the first
    // key or value.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    int number = 0;
    for (;;) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        // A lone carriage return at the very end is dropped too: it is what is left of a CR LF
        // file whose last line feed was cut off.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        fn(line, ++number);
        if (end == std::string_view::npos)
            return;
        text.remove_prefix(end + 1);
    }
}

} // namespace tolvex
