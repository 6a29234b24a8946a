#pragma once
// n_OSLayer modules: loading libraries and finding their functions.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <windows.h>

namespace n_OSLayer {

HMODULE LoadLibrary(const c_StringView& name);
bool FreeLibrary(HMODULE module);
// The executable's own module.
HMODULE GetModuleHandle();
// The name's bytes go to the system as they are.
FARPROC GetProcAddress(HMODULE module, const c_String& name);

} // namespace n_OSLayer
