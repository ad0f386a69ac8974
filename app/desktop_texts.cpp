#include "desktop_texts.hpp"

namespace tolvex {

std::string fault_file_error_text(const input_error& e) {
    return std::string(e.what()) + "\nThe fault file was not loaded; the fault list is unchanged.";
}

std::string config_problems_text(const std::vector<input_error>& problems) {
    std::string text = "These lines of the configuration were ignored; their settings keep "
                       "their earlier values:";
    for (const input_error& e : problems)
        text += std::string("\n") + e.what();
    return text;
}

} // namespace tolvex
