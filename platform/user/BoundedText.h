#pragma once
// Texts handed out into a caller's buffer of a given size, as the common controls do.

#include <windows.h>

#include <string_view>

namespace n_Platform {

// Copies as much of the text as fits in the units with a NUL after it; the units copied without the
// NUL, 0 when there is no buffer or no room.
int CopyBoundedText(std::u16string_view text, LPWSTR buffer, int units);

} // namespace n_Platform
