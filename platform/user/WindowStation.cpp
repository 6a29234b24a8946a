// The process's window station: visible exactly when the back end has someone at the windows.

#include "platform/kernel/LastError.h"
#include "platform/user/Backend.h"

#include <windows.h>

namespace {

// The one window station; not a kernel object, so it is never closed.
const HWINSTA PROCESS_WINDOW_STATION = reinterpret_cast<HWINSTA>(static_cast<ULONG_PTR>(0x57A7));

} // namespace

HWINSTA WINAPI GetProcessWindowStation() {
    return PROCESS_WINDOW_STATION;
}

BOOL WINAPI GetUserObjectInformationW(HANDLE object, int index, PVOID information, DWORD length, LPDWORD needed) {
    if (object != static_cast<HANDLE>(PROCESS_WINDOW_STATION)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_HANDLE);
    }
    if (index != UOI_FLAGS) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    if (needed != nullptr) {
        *needed = sizeof(USEROBJECTFLAGS);
    }
    if (information == nullptr || length < sizeof(USEROBJECTFLAGS)) {
        return n_Platform::FailWith(FALSE, ERROR_INSUFFICIENT_BUFFER);
    }
    USEROBJECTFLAGS flags = {};
    flags.dwFlags = n_Platform::GetUserBackend().IsVisible() ? WSF_VISIBLE : 0;
    *static_cast<USEROBJECTFLAGS*>(information) = flags;
    return TRUE;
}
