#pragma once
// Test helper: UTF-16 arguments from UTF-8 literals, and UTF-8 results that GoogleTest prints.

#include "platform/files/PathText.h"

#include <string>

inline std::u16string Wide(std::string_view text) {
    return n_Platform::ToUtf16(text);
}

inline std::string Narrow(std::u16string_view text) {
    return n_Platform::ToUtf8(text);
}
