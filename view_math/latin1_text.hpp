// Text for the viewer's bitmap font, which has the 256 characters of Latin-1.
#pragma once

#include <string>
#include <string_view>

// utf8 as Latin-1 bytes: every character up to U+00FF as its byte, every other character and
// every byte that does not start a well-formed UTF-8 character as "?".
std::string latin1_text(std::string_view utf8);
