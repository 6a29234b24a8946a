#pragma once
// The WSA error numbers: from errno, and their English texts.

#include <windows.h>

namespace n_Platform {

// The WSA number for an errno value (positive); WSAEINVAL for values without a closer one.
DWORD WinsockErrorFromErrno(int errorNumber);

// Sets the WSA number for a failed system call's -errno result and returns the value to fail with.
template <typename T> T FailWithSocketResult(T result, long negativeErrno) {
    SetLastError(WinsockErrorFromErrno(static_cast<int>(-negativeErrno)));
    return result;
}

// The text, ending in "\r\n", or null for a number that is not a Winsock one.
const WCHAR* FindWinsockMessage(DWORD error);

} // namespace n_Platform
