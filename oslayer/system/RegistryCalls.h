#pragma once
// n_OSLayer registry strings: REG_SZ values read and written in UTF-8.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <windows.h>

namespace n_OSLayer {

// The value, cut at its first NUL; empty when it is missing or cannot be read.
c_String ReadRegistryString(HKEY root, const c_StringView& subKey, const c_StringView& name);
c_String ReadRegistryStringCurrentUser(const c_StringView& subKey, const c_StringView& name);
c_String ReadRegistryStringLocalMachine(const c_StringView& subKey, const c_StringView& name);

// Creates or opens the key and writes the value with its terminating NUL (an empty value is 2
// bytes). True when the value was written.
bool WriteRegistryString(HKEY root, const c_StringView& subKey, const c_StringView& name, const c_StringView& value);
bool WriteRegistryStringCurrentUser(const c_StringView& subKey, const c_StringView& name, const c_StringView& value);
bool WriteRegistryStringLocalMachine(const c_StringView& subKey, const c_StringView& name, const c_StringView& value);

} // namespace n_OSLayer
