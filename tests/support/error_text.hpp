// The message of the Error (input_error unless named) that fn throws, or "no error".
#pragma once

#include "io/input_error.hpp"

#include <string>

template <class Error = tolvex::input_error, class Fn> std::string error_text(Fn&& fn) {
    try {
        fn();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}
