#pragma once

#include <string>

#include "platform/vb/error.h"

// The number of the run-time error that f raises, or 0 when it raises none.
inline int errorOf(auto&& f) {
    try {
        f();
    } catch (const vb::Error& e) {
        return e.number();
    }
    return 0;
}

// The description of the run-time error that f raises, or "" when it raises none.
inline std::string messageOf(auto&& f) {
    try {
        f();
    } catch (const vb::Error& e) {
        return e.description();
    }
    return "";
}
