#pragma once
// The two texts of a path: UTF-16 as the program passes it, UTF-8 as Linux takes it.

#include <windows.h>

#include <string>
#include <string_view>

namespace n_Platform {

// Ill-formed input is replaced with U+FFFD, as the code-page functions do.
std::string ToUtf8(std::u16string_view text);
std::u16string ToUtf16(std::string_view text);

// A NUL-terminated argument; null is the empty text.
inline std::u16string_view ReadArgument(LPCWSTR text) {
    return text == nullptr ? std::u16string_view() : std::u16string_view(text);
}

// Copies a text result as the Windows calls hand it out: with its NUL when the buffer holds it (the
// length is returned), otherwise nothing but the size needed, NUL included.
DWORD CopyTextResult(std::u16string_view text, LPWSTR buffer, DWORD size);

} // namespace n_Platform
