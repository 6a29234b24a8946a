// The cursor: its place, kept within the monitors, and the process's cursor handle. A move tells the
// windows tracking the mouse that it left them.

#include "platform/user/CursorState.h"

#include "platform/kernel/LastError.h"
#include "platform/user/Monitors.h"
#include "platform/user/MouseTracking.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace {

struct s_Cursor {
    std::mutex m_Lock;
    bool m_Placed = false;
    POINT m_Point = {};
    HCURSOR m_Handle = nullptr;
};

s_Cursor& GetCursor() {
    static s_Cursor* cursor = new s_Cursor;
    return *cursor;
}

// Under the cursor's lock: the place, at the primary monitor's centre until something moves it.
POINT& ReadPlace(s_Cursor& cursor) {
    if (!cursor.m_Placed) {
        const RECT primary = n_Platform::GetMonitors().front().m_Rect;
        cursor.m_Point = {(primary.left + primary.right) / 2, (primary.top + primary.bottom) / 2};
        cursor.m_Placed = true;
    }
    return cursor.m_Point;
}

void PlaceCursor(s_Cursor& cursor, long long x, long long y) {
    const RECT bounds = n_Platform::GetVirtualScreen();
    cursor.m_Point = {static_cast<LONG>(std::clamp<long long>(x, bounds.left, bounds.right - 1)),
                      static_cast<LONG>(std::clamp<long long>(y, bounds.top, bounds.bottom - 1))};
    cursor.m_Placed = true;
}

} // namespace

namespace n_Platform {

void MoveCursorBy(const MOUSEINPUT& input) {
    if ((input.dwFlags & MOUSEEVENTF_MOVE) == 0) {
        return;
    }
    s_Cursor& cursor = GetCursor();
    {
        std::lock_guard<std::mutex> lock(cursor.m_Lock);
        if ((input.dwFlags & MOUSEEVENTF_ABSOLUTE) == 0) {
            const POINT place = ReadPlace(cursor);
            PlaceCursor(cursor, static_cast<long long>(place.x) + input.dx, static_cast<long long>(place.y) + input.dy);
        } else {
            const RECT primary = GetMonitors().front().m_Rect;
            const long long width = primary.right - primary.left;
            const long long height = primary.bottom - primary.top;
            PlaceCursor(cursor, primary.left + input.dx * width / 65536, primary.top + input.dy * height / 65536);
        }
    }
    CheckMouseLeave();
}

} // namespace n_Platform

BOOL WINAPI SetCursorPos(int x, int y) {
    {
        s_Cursor& cursor = GetCursor();
        std::lock_guard<std::mutex> lock(cursor.m_Lock);
        PlaceCursor(cursor, x, y);
    }
    n_Platform::CheckMouseLeave();
    return TRUE;
}

BOOL WINAPI GetCursorPos(POINT* point) {
    if (point == nullptr) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    s_Cursor& cursor = GetCursor();
    std::lock_guard<std::mutex> lock(cursor.m_Lock);
    *point = ReadPlace(cursor);
    return TRUE;
}

HCURSOR WINAPI SetCursor(HCURSOR handle) {
    s_Cursor& cursor = GetCursor();
    std::lock_guard<std::mutex> lock(cursor.m_Lock);
    return std::exchange(cursor.m_Handle, handle);
}

BOOL WINAPI GetCursorInfo(CURSORINFO* info) {
    if (info == nullptr || info->cbSize != sizeof(CURSORINFO)) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    s_Cursor& cursor = GetCursor();
    std::lock_guard<std::mutex> lock(cursor.m_Lock);
    info->flags = 0;
    info->hCursor = cursor.m_Handle;
    info->ptScreenPos = ReadPlace(cursor);
    return TRUE;
}

UINT WINAPI GetDoubleClickTime() {
    return 500;
}
