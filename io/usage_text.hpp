// What a program prints for a mistake on its command line, the same for every program.
#pragma once

#include <string>
#include <string_view>

namespace tolvex {

// "program: problem", then where the whole usage is read: two lines, so that the mistake is not
// lost above a page of options.
std::string usage_error_text(std::string_view program, std::string_view problem);

} // namespace tolvex
