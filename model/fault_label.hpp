// How messages name a fault.
#pragma once

#include "geometry/fault.hpp"

#include <string>
#include <vector>

namespace tolvex {

// 'fault "<name>" (identifier <identifier>, sequence <sequence number>)', or without a name
// 'fault <identifier> (sequence <sequence number>)'.
std::string fault_label(const fault& f);

// "102 NF-E": identifier and tag, as drawings and surface names label a fault.
std::string fault_short_label(const fault& f);

// fault_short_label of each fault in turn.
std::vector<std::string> fault_short_labels(const std::vector<fault>& faults);

} // namespace tolvex
