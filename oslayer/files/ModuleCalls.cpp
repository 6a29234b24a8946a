// n_OSLayer module wrappers.

#include "oslayer/files/ModuleCalls.h"

#include "oslayer/system/TextConversion.h"

namespace n_OSLayer {

HMODULE LoadLibrary(const c_StringView& name) {
    return LoadLibraryW(UTF8ToWide(name).begin());
}

bool FreeLibrary(HMODULE module) {
    return ::FreeLibrary(module) != FALSE;
}

HMODULE GetModuleHandle() {
    return GetModuleHandleW(nullptr);
}

FARPROC GetProcAddress(HMODULE module, const c_String& name) {
    return ::GetProcAddress(module, name.GetChars());
}

} // namespace n_OSLayer
