// TrackMouseEvent: one tracked window per thread, process-wide, since the cursor moves on any thread.

#include "platform/user/MouseTracking.h"

#include "platform/kernel/LastError.h"
#include "platform/user/Backend.h"
#include "platform/user/WindowTable.h"

#include <map>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct s_Tracking {
    std::mutex m_Lock;
    // Thread id to the window it tracks.
    std::map<DWORD, HWND> m_Windows;
};

s_Tracking& GetTracking() {
    static s_Tracking* tracking = new s_Tracking;
    return *tracking;
}

// Group boxes only frame their controls; the cursor passes through them, as on Windows.
bool IsHitTransparent(HWND window) {
    WCHAR name[8] = {};
    const int length = GetClassNameW(window, name, 8);
    return std::u16string_view(name, static_cast<std::size_t>(length)) == u"Button" &&
           (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The deepest visible window at the point, searching the window and its children; null when the
// point lies outside the window.
HWND FindWindowAt(HWND window, POINT point) {
    RECT rect = {};
    if (IsWindowVisible(window) == FALSE || GetWindowRect(window, &rect) == FALSE || point.x < rect.left ||
        point.x >= rect.right || point.y < rect.top || point.y >= rect.bottom) {
        return nullptr;
    }
    for (const HWND child : n_Platform::GetChildWindows(window)) {
        if (const HWND found = IsHitTransparent(child) ? nullptr : FindWindowAt(child, point)) {
            return found;
        }
    }
    return window;
}

// The calling thread's tracked window, forgotten when it is gone.
HWND FindOwnTracked(s_Tracking& tracking) {
    std::lock_guard<std::mutex> lock(tracking.m_Lock);
    const auto found = tracking.m_Windows.find(GetCurrentThreadId());
    if (found == tracking.m_Windows.end()) {
        return nullptr;
    }
    if (IsWindow(found->second) == FALSE) {
        tracking.m_Windows.erase(found);
        return nullptr;
    }
    return found->second;
}

void EndOwnTracking(s_Tracking& tracking, HWND window) {
    std::lock_guard<std::mutex> lock(tracking.m_Lock);
    const auto found = tracking.m_Windows.find(GetCurrentThreadId());
    if (found != tracking.m_Windows.end() && found->second == window) {
        tracking.m_Windows.erase(found);
    }
}

BOOL Query(TRACKMOUSEEVENT& track) {
    const HWND tracked = FindOwnTracked(GetTracking());
    track.dwFlags = tracked != nullptr ? TME_LEAVE : 0;
    track.hwndTrack = tracked;
    track.dwHoverTime = 0;
    return TRUE;
}

} // namespace

namespace n_Platform {

bool IsCursorOverWindow(HWND window) {
    POINT cursor = {};
    return GetCursorPos(&cursor) != FALSE && FindWindowAt(window, cursor) == window;
}

void CheckMouseLeave() {
    s_Tracking& tracking = GetTracking();
    std::vector<std::pair<DWORD, HWND>> tracked;
    {
        std::lock_guard<std::mutex> lock(tracking.m_Lock);
        tracked.assign(tracking.m_Windows.begin(), tracking.m_Windows.end());
    }
    // The back end is asked without the lock: a display may take its own locks.
    for (const auto& [thread, window] : tracked) {
        if (IsWindow(window) != FALSE && GetUserBackend().IsPointerOver(window)) {
            continue;
        }
        std::lock_guard<std::mutex> lock(tracking.m_Lock);
        const auto found = tracking.m_Windows.find(thread);
        if (found != tracking.m_Windows.end() && found->second == window) {
            tracking.m_Windows.erase(found);
            PostToWindow(window, WM_MOUSELEAVE, 0, 0);
        }
    }
}

} // namespace n_Platform

BOOL WINAPI TrackMouseEvent(LPTRACKMOUSEEVENT track) {
    if (track == nullptr || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    if ((track->dwFlags & TME_QUERY) != 0) {
        return Query(*track);
    }
    if ((track->dwFlags & (TME_HOVER | TME_NONCLIENT)) != 0) {
        return n_Platform::FailWith(FALSE, ERROR_NOT_SUPPORTED);
    }
    if ((track->dwFlags & ~(TME_LEAVE | TME_CANCEL)) != 0) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_FLAGS);
    }
    const HWND window = track->hwndTrack;
    if (n_Platform::LookupOwnWindowObject(window) == nullptr) {
        return FALSE;
    }
    if ((track->dwFlags & TME_LEAVE) == 0) {
        return TRUE;
    }
    s_Tracking& tracking = GetTracking();
    if ((track->dwFlags & TME_CANCEL) != 0) {
        EndOwnTracking(tracking, window);
        return TRUE;
    }
    if (!n_Platform::GetUserBackend().IsPointerOver(window)) {
        EndOwnTracking(tracking, window);
        PostMessageW(window, WM_MOUSELEAVE, 0, 0);
        return TRUE;
    }
    std::lock_guard<std::mutex> lock(tracking.m_Lock);
    tracking.m_Windows[GetCurrentThreadId()] = window;
    return TRUE;
}
