// The mouse capture: SetCapture, GetCapture and ReleaseCapture, one window per thread.

#include "platform/user/WindowTable.h"

namespace {

thread_local HWND t_Capture = nullptr;

// The window that loses the capture is told which one takes it.
HWND MoveCapture(HWND window) {
    const HWND previous = GetCapture();
    t_Capture = window;
    if (previous != nullptr && previous != window) {
        SendMessageW(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    }
    return previous;
}

} // namespace

HWND WINAPI GetCapture() {
    // A window that went takes the capture with it.
    if (t_Capture != nullptr && n_Platform::FindOwnWindow(t_Capture) == nullptr) {
        t_Capture = nullptr;
    }
    return t_Capture;
}

HWND WINAPI SetCapture(HWND window) {
    if (n_Platform::LookupOwnWindowObject(window) == nullptr) {
        return nullptr;
    }
    return MoveCapture(window);
}

BOOL WINAPI ReleaseCapture() {
    MoveCapture(nullptr);
    return TRUE;
}
