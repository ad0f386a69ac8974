// Names of horizons, surfaces, faults and tags are data written into the lines of other files: a
// line feed or another control character in one would start a line of its own there, and the
// file would no longer read back.
#pragma once

#include <string>
#include <string_view>

namespace tolvex {

// Whether name holds a control character (bytes 0 to 31, a tab included, and 127).
bool has_control_char(std::string_view name);

// The reason a name with one is refused: "what: "text" holds a control character".
std::string control_char_reason(std::string_view what, std::string_view name);

} // namespace tolvex
