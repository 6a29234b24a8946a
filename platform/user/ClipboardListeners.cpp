// The windows that listen to the clipboard: a set under its own lock, so that a change is told
// without holding the clipboard's.

#include "platform/user/ClipboardListeners.h"

#include "platform/kernel/LastError.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct s_Listeners {
    std::mutex m_Lock;
    std::vector<HWND> m_Windows;
};

s_Listeners& GetListeners() {
    static s_Listeners* listeners = new s_Listeners;
    return *listeners;
}

} // namespace

BOOL WINAPI AddClipboardFormatListener(HWND window) {
    if (!IsWindow(window)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_WINDOW_HANDLE);
    }
    s_Listeners& listeners = GetListeners();
    std::lock_guard<std::mutex> lock(listeners.m_Lock);
    if (std::find(listeners.m_Windows.begin(), listeners.m_Windows.end(), window) == listeners.m_Windows.end()) {
        listeners.m_Windows.push_back(window);
    }
    return TRUE;
}

BOOL WINAPI RemoveClipboardFormatListener(HWND window) {
    s_Listeners& listeners = GetListeners();
    std::lock_guard<std::mutex> lock(listeners.m_Lock);
    const auto found = std::find(listeners.m_Windows.begin(), listeners.m_Windows.end(), window);
    if (found == listeners.m_Windows.end()) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    listeners.m_Windows.erase(found);
    return TRUE;
}

namespace n_Platform {

void NotifyClipboardListeners() {
    s_Listeners& listeners = GetListeners();
    std::lock_guard<std::mutex> lock(listeners.m_Lock);
    // Handles are never reused, so a window that is gone is dropped for good.
    std::erase_if(listeners.m_Windows, [](HWND window) { return !IsWindow(window); });
    for (HWND window : listeners.m_Windows) {
        PostMessageW(window, WM_CLIPBOARDUPDATE, 0, 0);
    }
}

} // namespace n_Platform
