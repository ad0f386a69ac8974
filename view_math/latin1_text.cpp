#include "view_math/latin1_text.hpp"

#include <cstddef>
#include <cstdint>

namespace {

// The length of the UTF-8 sequence a lead byte starts (0 for a byte that cannot lead one) and
// the smallest code point that length may carry (shorter forms are malformed).
struct sequence {
    std::size_t length;
    std::uint32_t least;
};

sequence sequence_of(unsigned char lead) {
    if (lead < 0x80)
        return {1, 0};
    if ((lead & 0xE0) == 0xC0)
        return {2, 0x80};
    if ((lead & 0xF0) == 0xE0)
        return {3, 0x800};
    if ((lead & 0xF8) == 0xF0)
        return {4, 0x10000};
    return {0, 0};
}

} // namespace

std::string latin1_text(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const sequence s = sequence_of(lead);
        std::uint32_t code = s.length == 1 ? lead : lead & (0x7Fu >> s.length);
        std::size_t k = 1;
        for (; k < s.length && i + k < utf8.size(); ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80)
                break;
            code = code << 6 | (next & 0x3Fu);
        }
        if (s.length == 0 || k < s.length) {
            out += '?';
            i += k; // a malformed sequence counts as one character
            continue;
        }
        out += code < s.least || code > 0xFF ? '?' : static_cast<char>(code);
        i += s.length;
    }
    return out;
}
