// Datum files: the elevation each restored horizon should come back to, by its name. One horizon a
// line, its name and its elevation (in the boundary file's z) separated by the line's last comma or
// tab; "#" starts a comment line, blank lines are skipped.
#pragma once

#include "geometry/horizon.hpp"

#include <map>
#include <string>
#include <vector>

namespace tolvex {

struct datum_level {
    std::string name;
    double elevation = 0.0;
    int line = 0;
};

// The levels of the file at path, in file order. Throws open_error when it cannot be opened and
// input_error naming the line for a line without a name or elevation, a bad number or a name given
// twice.
std::vector<datum_level> read_datum_file(const std::string& path);
std::vector<datum_level> parse_datum_text(const std::string& text, const std::string& path);

// The elevations by name; throws input_error at the line of the first level whose name is none of
// the horizons'.
std::map<std::string, double> datum_elevations(const std::vector<datum_level>& levels,
                                               const std::vector<horizon>& horizons,
                                               const std::string& path);

} // namespace tolvex
