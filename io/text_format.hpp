// printf-style formatting into a string of whatever length the result needs.
#pragma once

#include <cstdio>
#include <string>

namespace tolvex {

// The text that snprintf(format, args...) gives, never cut.
template <class... Args> std::string format_text(const char* format, Args... args) {
    const int size = std::snprintf(nullptr, 0, format, args...);
    if (size <= 0)
        return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}

} // namespace tolvex
