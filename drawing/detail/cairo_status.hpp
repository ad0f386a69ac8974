// Cairo notes a failure in its surface or context and goes on quietly; every drawing asks.
#pragma once

#include <cairo.h>

namespace tolvex {

// Throws std::runtime_error naming what was drawn, with cairo's reason, when status is a failure.
void check_cairo(cairo_status_t status, const char* what = "the section");

} // namespace tolvex
