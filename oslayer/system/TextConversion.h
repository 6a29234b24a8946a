#pragma once
// n_OSLayer text conversion: the UTF-8 of the system to and from the UTF-16 of the Windows calls.
//
// Each conversion first tries the 30-unit inline room of its result, so a short text costs one
// call and no allocation; a longer one asks for its size, takes one block and converts again.
// Ill-formed input is replaced, not refused (U+FFFD). A conversion that cannot get memory gives the
// empty text. A NUL inside a text is converted like any other character.

#include "strings/c_String.h"
#include "strings/c_WString.h"

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

c_WString UTF8ToWide(const c_StringView& text, std::uint32_t codePage = CP_UTF8);
c_String WideToUTF8(const c_WStringView& text);
// Text in the ANSI code page (Windows-1252) to UTF-8.
c_String ANSIToUTF8(const c_StringView& text);
// The bytes that the text takes in UTF-8; 0 for an empty text.
std::int32_t GetUTF8Length(const c_WStringView& text);

// Lower-case hexadecimal without prefix or leading zeros.
c_String FormatHex64(std::uint64_t value);

} // namespace n_OSLayer
