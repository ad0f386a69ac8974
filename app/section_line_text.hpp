// A section's line on the map as the "Save Section" dialog's field shows it: "X0,Y0,X1,Y1,...",
// the points in the boundary file's coordinates.
#pragma once

#include "model/section_map.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvex {

// The points of "X0,Y0,X1,Y1,..." (blanks around the numbers allowed; an empty text is no
// points), or nullopt when it is not pairs of finite numbers.
std::optional<std::vector<map_point>> map_points_from_text(std::string_view text);

// The points as "X0,Y0,X1,Y1,...", each number the shortest text that reads back as it.
std::string map_points_text(const std::vector<map_point>& points);

} // namespace tolvex
