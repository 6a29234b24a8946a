#pragma once
// UTF-8 to UTF-16 and back, for the wide strings' own formatting.
//
// Each function writes to out when it is not null and returns the number of units written (or that
// would be written). Invalid input never fails: a byte that starts no valid UTF-8 sequence, and a
// lone surrogate, each become U+FFFD.

#include "strings/internal/TextCore.h"

namespace n_StringCore {

std::int64_t Utf8ToUtf16(t_Text<char> text, char16_t* out);
std::int64_t Utf16ToUtf8(t_Text<char16_t> text, char* out);

} // namespace n_StringCore
