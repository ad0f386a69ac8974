#include "app/name_filters.hpp"

#include "formats/file_formats.hpp"

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>

namespace tolvex {

std::vector<std::string> dialog_name_filters(const std::string& filter) {
    std::vector<std::string> parts;
    boost::split(parts, filter, boost::is_any_of("|"));
    std::vector<std::string> result;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::vector<std::string> patterns;
        boost::split(patterns, parts[i + 1], boost::is_any_of(";"));
        std::string entry = parts[i] + " (";
        for (std::size_t p = 0; p < patterns.size(); ++p) {
            entry += (p > 0 ? " " : "") + (patterns[p] == "*.*" ? std::string("*") : patterns[p]);
        }
        result.push_back(entry + ")");
    }
    return result;
}

std::string read_filter(const std::string& description, unsigned contents) {
    std::string patterns;
    for (const std::string_view ending : read_endings(contents))
        patterns += (patterns.empty() ? "*" : ";*") + std::string(ending);
    return description + " (" + patterns + ")|" + patterns;
}

} // namespace tolvex
