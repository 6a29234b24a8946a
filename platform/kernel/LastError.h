#pragma once
// The layer's side of the last error: the map from errno to Windows error numbers.

#include <windows.h>

namespace n_Platform {

// The Windows number for an errno value; ERROR_GEN_FAILURE for values without a closer one.
DWORD WindowsErrorFromErrno(int errorNumber);

// Sets the last error from errno and returns the value to fail with, so callers can write
// `return FailWithErrno(FALSE, errno);`.
template <typename T> T FailWithErrno(T result, int errorNumber) {
    SetLastError(WindowsErrorFromErrno(errorNumber));
    return result;
}

// The same with an explicit Windows number.
template <typename T> T FailWith(T result, DWORD error) {
    SetLastError(error);
    return result;
}

} // namespace n_Platform
