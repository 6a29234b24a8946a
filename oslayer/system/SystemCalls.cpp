// n_OSLayer system calls over the Windows calls.

#include "oslayer/system/SystemCalls.h"

#include "oslayer/system/TextConversion.h"

namespace n_OSLayer {

bool PlaySound(const c_StringView& fileName, std::uint32_t flags) {
    return PlaySoundW(UTF8ToWide(fileName).GetBuffer(), nullptr, flags | SND_FILENAME) != FALSE;
}

LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter) {
    return ::SetUnhandledExceptionFilter(filter);
}

// Not inlined: the return address must be the caller's.
__attribute__((noinline)) const void* GetCurrentCodeAddress() {
    return __builtin_return_address(0);
}

} // namespace n_OSLayer
