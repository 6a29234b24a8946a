// The keyboard focus: SetFocus and GetFocus, one window per thread.

#include "platform/user/WindowTable.h"

namespace {

thread_local HWND t_Focus = nullptr;

} // namespace

HWND WINAPI GetFocus() {
    // A window that went takes the focus with it.
    if (t_Focus != nullptr && n_Platform::FindOwnWindow(t_Focus) == nullptr) {
        t_Focus = nullptr;
    }
    return t_Focus;
}

HWND WINAPI SetFocus(HWND window) {
    if (window != nullptr && n_Platform::LookupOwnWindowObject(window) == nullptr) {
        return nullptr;
    }
    const HWND previous = GetFocus();
    if (previous == window) {
        return previous;
    }
    t_Focus = window;
    if (previous != nullptr) {
        SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    }
    if (window != nullptr) {
        SendMessageW(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}
