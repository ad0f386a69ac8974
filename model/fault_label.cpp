#include "fault_label.hpp"

namespace tolvex {

std::string fault_label(const fault& f) {
    return "fault " + std::to_string(f.id) + " (sequence " + std::to_string(f.order) + ")";
}

} // namespace tolvex
