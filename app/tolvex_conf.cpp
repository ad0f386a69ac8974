#include "tolvex_conf.hpp"

namespace tolvex {

tolvex_conf& tolvex_conf::get_instance() {
    static tolvex_conf instance;
    return instance;
}

bool tolvex_conf::read(const std::string&) {
    loaded = false; // built with the file readers
    return loaded;
}

} // namespace tolvex
