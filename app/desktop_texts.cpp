#include "app/desktop_texts.hpp"

namespace tolvex {

std::string fault_file_error_text(const input_error& e) {
    return std::string(e.what()) + "\nThe fault file was not loaded; the fault list is unchanged.";
}

std::string fault_list_header() {
    // Each heading right-aligned over its field: id 10, azimuth 5, dip 4, slip azimuth 5,
    // plunge 4, then the tag (of any width) and the sequence number.
    return "        id   azi  dip  sazi  plg tag seq";
}

std::string config_problems_text(const std::vector<input_error>& problems) {
    std::string text = "These lines of the configuration were ignored; their settings keep "
                       "their earlier values:";
    for (const input_error& e : problems)
        text += std::string("\n") + e.what();
    return text;
}

} // namespace tolvex
