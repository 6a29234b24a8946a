#pragma once
// n_OSLayer system calls: sound, the unhandled-exception filter and the caller's code address.

#include "strings/c_StringView.h"

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

// PlaySoundW of the file, SND_FILENAME added to the flags.
bool PlaySound(const c_StringView& fileName, std::uint32_t flags);
LPTOP_LEVEL_EXCEPTION_FILTER SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter);
// The code address at which this call returns in its caller.
const void* GetCurrentCodeAddress();

} // namespace n_OSLayer
