// The message of the input_error that fn throws, or "no error".
#pragma once

#include "input_error.hpp"

#include <string>

template <class Fn> std::string error_text(Fn&& fn) {
    try {
        fn();
    } catch (const tolvex::input_error& e) {
        return e.what();
    }
    return "no error";
}
