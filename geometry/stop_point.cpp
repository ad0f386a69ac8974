#include "geometry/stop_point.hpp"

#include <atomic>

namespace {

std::atomic<stop_check> installed{nullptr};

} // namespace

void set_stop_check(stop_check check) {
    installed.store(check, std::memory_order_relaxed);
}

void stop_point() {
    if (const stop_check check = installed.load(std::memory_order_relaxed))
        check();
}
