#include "drawing/detail/cairo_status.hpp"

#include <new>
#include <stdexcept>
#include <string>

namespace tolvex {

void check_cairo(cairo_status_t status, const char* what) {
    if (status == CAIRO_STATUS_NO_MEMORY)
        throw std::bad_alloc();
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(std::string("drawing ") + what +
                                 " failed: " + cairo_status_to_string(status));
}

} // namespace tolvex
