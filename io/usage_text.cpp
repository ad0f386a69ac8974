#include "io/usage_text.hpp"

namespace tolvex {

std::string usage_error_text(std::string_view program, std::string_view problem) {
    const std::string name(program);
    return name + ": " + std::string(problem) + "\nTry '" + name +
           " --help' for more information.\n";
}

} // namespace tolvex
