// How messages name a fault.
#pragma once

#include "fault.hpp"

#include <string>

namespace tolvex {

// "fault <identifier> (sequence <sequence number>)".
std::string fault_label(const fault& f);

} // namespace tolvex
