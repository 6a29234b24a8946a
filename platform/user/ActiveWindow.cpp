// The active window: SetActiveWindow, GetActiveWindow and BringWindowToTop.
//
// Without a display there is no focus to follow: the active window is the last one activated, and
// a thread sees it only while it is one of its own windows and still exists.

#include "platform/user/ActiveWindow.h"
#include "platform/kernel/LastError.h"
#include "platform/user/WindowTable.h"

#include <atomic>

namespace {

std::atomic<HWND> g_ActiveWindow{nullptr};

} // namespace

HWND n_Platform::GetProcessActiveWindow() {
    const HWND active = g_ActiveWindow.load();
    return n_Platform::FindWindowObject(active) != nullptr ? active : nullptr;
}

HWND WINAPI GetActiveWindow() {
    const HWND active = g_ActiveWindow.load();
    const std::shared_ptr<n_Platform::c_WindowObject> window = n_Platform::FindWindowObject(active);
    return window != nullptr && window->m_ThreadId == GetCurrentThreadId() ? active : nullptr;
}

HWND WINAPI SetActiveWindow(HWND handle) {
    if (n_Platform::LookupOwnWindowObject(handle) == nullptr) {
        return nullptr;
    }
    const HWND previous = GetActiveWindow();
    g_ActiveWindow.store(handle);
    // No previous window is not a failure.
    SetLastError(ERROR_SUCCESS);
    return previous;
}

BOOL WINAPI BringWindowToTop(HWND handle) {
    // There is no Z order to change but topmost or not; the window need only exist.
    return n_Platform::LookupWindowObject(handle) != nullptr ? TRUE : FALSE;
}
