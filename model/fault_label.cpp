#include "model/fault_label.hpp"

namespace tolvex {

std::string fault_label(const fault& f) {
    const std::string sequence = "sequence " + std::to_string(f.order) + ")";
    if (f.name.empty())
        return "fault " + std::to_string(f.id) + " (" + sequence;
    return "fault \"" + f.name + "\" (identifier " + std::to_string(f.id) + ", " + sequence;
}

std::string fault_short_label(const fault& f) {
    return std::to_string(f.id) + (f.tag.empty() ? "" : " " + f.tag);
}

std::vector<std::string> fault_short_labels(const std::vector<fault>& faults) {
    std::vector<std::string> out;
    for (const fault& f : faults)
        out.push_back(fault_short_label(f));
    return out;
}

} // namespace tolvex
