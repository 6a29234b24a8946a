// The monitors of the headless screen and the calls that find them.
//
// A monitor's handle names the set of monitors it came from, so a handle from before the monitors
// were replaced fails instead of naming another monitor.

#include "platform/user/Monitors.h"

#include "platform/kernel/LastError.h"
#include "platform/user/DesktopWindow.h"

#include <algorithm>
#include <mutex>
#include <string>

namespace {

struct s_Screen {
    std::mutex m_Lock;
    std::vector<n_Platform::s_Monitor> m_Monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}}};
    ULONG_PTR m_Generation = 1;
};

s_Screen& GetScreen() {
    static s_Screen* screen = new s_Screen;
    return *screen;
}

HMONITOR MakeHandle(ULONG_PTR generation, std::size_t index) {
    return reinterpret_cast<HMONITOR>(generation << 8 | (index + 1));
}

// The monitor's index, or -1 for a handle of no current monitor.
long FindIndex(const s_Screen& screen, HMONITOR monitor) {
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(monitor);
    const ULONG_PTR index = (value & 0xFF) - 1;
    if (value >> 8 != screen.m_Generation || index >= screen.m_Monitors.size()) {
        return -1;
    }
    return static_cast<long>(index);
}

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

long long IntersectionArea(const RECT& a, const RECT& b) {
    const long long width = static_cast<long long>(std::min(a.right, b.right)) - std::max(a.left, b.left);
    const long long height = static_cast<long long>(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// Squared distance from the point to the nearest pixel of the rectangle.
long long DistanceSquared(const RECT& rect, POINT point) {
    const long long dx = std::max(
        {static_cast<long long>(rect.left) - point.x, 0LL, static_cast<long long>(point.x) - (rect.right - 1)});
    const long long dy = std::max(
        {static_cast<long long>(rect.top) - point.y, 0LL, static_cast<long long>(point.y) - (rect.bottom - 1)});
    return dx * dx + dy * dy;
}

// The monitor for flags when none holds the place: none, the primary one, or the nearest to point.
HMONITOR ChooseDefault(const s_Screen& screen, POINT point, DWORD flags) {
    if (flags == MONITOR_DEFAULTTOPRIMARY) {
        return MakeHandle(screen.m_Generation, 0);
    }
    if (flags != MONITOR_DEFAULTTONEAREST) {
        return nullptr;
    }
    std::size_t nearest = 0;
    for (std::size_t index = 1; index < screen.m_Monitors.size(); ++index) {
        if (DistanceSquared(screen.m_Monitors[index].m_Rect, point) <
            DistanceSquared(screen.m_Monitors[nearest].m_Rect, point)) {
            nearest = index;
        }
    }
    return MakeHandle(screen.m_Generation, nearest);
}

HMONITOR FindAtPoint(const s_Screen& screen, POINT point, DWORD flags) {
    for (std::size_t index = 0; index < screen.m_Monitors.size(); ++index) {
        if (Contains(screen.m_Monitors[index].m_Rect, point)) {
            return MakeHandle(screen.m_Generation, index);
        }
    }
    return ChooseDefault(screen, point, flags);
}

} // namespace

namespace n_Platform {

std::vector<s_Monitor> GetMonitors() {
    s_Screen& screen = GetScreen();
    std::lock_guard<std::mutex> lock(screen.m_Lock);
    return screen.m_Monitors;
}

void SetMonitors(std::vector<s_Monitor> monitors) {
    {
        s_Screen& screen = GetScreen();
        std::lock_guard<std::mutex> lock(screen.m_Lock);
        screen.m_Monitors = std::move(monitors);
        ++screen.m_Generation;
    }
    FitDesktopWindow();
}

RECT GetVirtualScreen() {
    s_Screen& screen = GetScreen();
    std::lock_guard<std::mutex> lock(screen.m_Lock);
    RECT bounds = screen.m_Monitors.front().m_Rect;
    for (const s_Monitor& monitor : screen.m_Monitors) {
        bounds.left = std::min(bounds.left, monitor.m_Rect.left);
        bounds.top = std::min(bounds.top, monitor.m_Rect.top);
        bounds.right = std::max(bounds.right, monitor.m_Rect.right);
        bounds.bottom = std::max(bounds.bottom, monitor.m_Rect.bottom);
    }
    return bounds;
}

} // namespace n_Platform

HMONITOR WINAPI MonitorFromPoint(POINT point, DWORD flags) {
    s_Screen& screen = GetScreen();
    std::lock_guard<std::mutex> lock(screen.m_Lock);
    return FindAtPoint(screen, point, flags);
}

HMONITOR WINAPI MonitorFromRect(const RECT* rect, DWORD flags) {
    if (rect == nullptr) {
        return n_Platform::FailWith<HMONITOR>(nullptr, ERROR_INVALID_PARAMETER);
    }
    s_Screen& screen = GetScreen();
    std::lock_guard<std::mutex> lock(screen.m_Lock);
    long long largest = 0;
    HMONITOR found = nullptr;
    for (std::size_t index = 0; index < screen.m_Monitors.size(); ++index) {
        const long long area = IntersectionArea(screen.m_Monitors[index].m_Rect, *rect);
        if (area > largest) {
            largest = area;
            found = MakeHandle(screen.m_Generation, index);
        }
    }
    if (found != nullptr) {
        return found;
    }
    const POINT corner = {rect->left, rect->top};
    if (rect->right <= rect->left || rect->bottom <= rect->top) {
        return FindAtPoint(screen, corner, flags);
    }
    const POINT centre = {static_cast<LONG>((static_cast<long long>(rect->left) + rect->right) / 2),
                          static_cast<LONG>((static_cast<long long>(rect->top) + rect->bottom) / 2)};
    return ChooseDefault(screen, centre, flags);
}

HMONITOR WINAPI MonitorFromWindow(HWND window, DWORD flags) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) {
        return nullptr;
    }
    return MonitorFromRect(&rect, flags);
}

BOOL WINAPI GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info) {
    if (info == nullptr || (info->cbSize != sizeof(MONITORINFO) && info->cbSize != sizeof(MONITORINFOEXW))) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    s_Screen& screen = GetScreen();
    std::lock_guard<std::mutex> lock(screen.m_Lock);
    const long index = FindIndex(screen, monitor);
    if (index < 0) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_HANDLE);
    }
    info->rcMonitor = screen.m_Monitors[index].m_Rect;
    info->rcWork = screen.m_Monitors[index].m_WorkArea;
    info->dwFlags = index == 0 ? MONITORINFOF_PRIMARY : 0;
    if (info->cbSize == sizeof(MONITORINFOEXW)) {
        const std::u16string device = u"\\\\.\\DISPLAY" + std::u16string(1, static_cast<char16_t>(u'1' + index));
        auto* extended = reinterpret_cast<MONITORINFOEXW*>(info);
        std::fill(std::begin(extended->szDevice), std::end(extended->szDevice), u'\0');
        std::copy(device.begin(), device.end(), extended->szDevice);
    }
    return TRUE;
}

BOOL WINAPI EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM data) {
    if (dc != nullptr || callback == nullptr) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    ULONG_PTR generation = 0;
    std::vector<n_Platform::s_Monitor> monitors;
    {
        s_Screen& screen = GetScreen();
        std::lock_guard<std::mutex> lock(screen.m_Lock);
        generation = screen.m_Generation;
        monitors = screen.m_Monitors;
    }
    // The callbacks run without the lock, so they may ask about monitors themselves.
    for (std::size_t index = 0; index < monitors.size(); ++index) {
        RECT part = monitors[index].m_Rect;
        if (clip != nullptr) {
            part = {std::max(part.left, clip->left), std::max(part.top, clip->top), std::min(part.right, clip->right),
                    std::min(part.bottom, clip->bottom)};
            if (part.right <= part.left || part.bottom <= part.top) {
                continue;
            }
        }
        if (!callback(MakeHandle(generation, index), nullptr, &part, data)) {
            return FALSE;
        }
    }
    return TRUE;
}
