#include "app/fault_loading.hpp"

#include "formats/fault_file.hpp"

namespace tolvex {

std::optional<std::vector<std::string>>
load_fault_file(desktop_document& doc, const std::string& path, const warn_fn& warn) {
    // Read completely before anything changes, so a bad file leaves the loaded faults alone.
    std::optional<std::vector<fault>> faults = read_fault_file(path, warn);
    if (!faults)
        return std::nullopt;
    std::vector<std::string> lines;
    lines.reserve(faults->size());
    for (const fault& f : *faults)
        lines.push_back(fault_list_line(f));
    doc.faults_loaded = std::move(*faults);
    doc.fault_path = path;
    doc.tracers_init.clear();
    return lines;
}

} // namespace tolvex
