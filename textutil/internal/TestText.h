#pragma once
// Test helper: texts as std::string, so that GoogleTest prints them when an expectation fails.

#include "strings/c_StringView.h"

#include <string>

inline std::string ToStd(const c_StringView& text) {
    return std::string(text.begin(), text.end());
}
