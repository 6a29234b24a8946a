#pragma once
// n_OSLayer error texts: the one place where a Windows error number becomes a message.

#include "strings/c_String.h"

#include <cstdint>

namespace n_OSLayer {

// "Windows error code " + the number + ": " + the system's text without its final line break; or
// "Unknown Windows error code " + the number + "." when neither the system's table nor WinINet's
// (looked up only while WinINet is loaded) has a text. Never empty.
c_String GetWindowsErrorText(std::uint32_t code);

// File not found, path not found, invalid drive and device not ready.
bool IsNotFoundError(std::uint32_t code);

std::uint32_t GetLastError();
void SetLastError(std::uint32_t code);

} // namespace n_OSLayer
