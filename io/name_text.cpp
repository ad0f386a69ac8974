#include "io/name_text.hpp"

#include "io/text_fields.hpp"

#include <algorithm>

namespace tolvex {

bool has_control_char(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 32 || byte == 127;
    });
}

std::string control_char_reason(std::string_view what, std::string_view name) {
    return std::string(what) + ": " + quoted_text(name) +
           " holds a control character, which a name must not";
}

} // namespace tolvex
