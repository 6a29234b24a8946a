// FlashWindowEx: nothing to flash without a display.

#include "platform/kernel/LastError.h"

#include <windows.h>

BOOL WINAPI FlashWindowEx(PFLASHWINFO info) {
    if (info == nullptr || info->cbSize != sizeof(FLASHWINFO)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    if (IsWindow(info->hwnd) == FALSE) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_WINDOW_HANDLE);
    }
    return GetActiveWindow() == info->hwnd ? TRUE : FALSE;
}
