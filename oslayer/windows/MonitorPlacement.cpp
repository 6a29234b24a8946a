// Monitors and window placement over MonitorFromPoint, MonitorFromRect and GetMonitorInfoW.

#include "oslayer/windows/MonitorPlacement.h"

namespace {

bool ReadWorkArea(HMONITOR monitor, RECT& workArea) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
        return false;
    }
    workArea = info.rcWork;
    return true;
}

LONG Width(const RECT& rect) {
    return rect.right - rect.left;
}

LONG Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

void MoveRectTo(RECT& rect, LONG left, LONG top) {
    rect = {left, top, left + Width(rect), top + Height(rect)};
}

POINT GetCentre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

} // namespace

HMONITOR GetMonitorAtPoint(POINT point) {
    return MonitorFromPoint(point, MONITOR_DEFAULTTONULL);
}

RECT GetWorkAreaAtPoint(POINT point) {
    RECT workArea = {};
    if (!ReadWorkArea(GetMonitorAtPoint(point), workArea)) {
        return RECT{};
    }
    return workArea;
}

void ClampRectToWorkArea(RECT& rect) {
    HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    if (monitor == nullptr) {
        monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
    }
    RECT work = {};
    if (!ReadWorkArea(monitor, work)) {
        return;
    }
    if (rect.left < work.left) {
        MoveRectTo(rect, work.left, rect.top);
    }
    if (rect.top < work.top) {
        MoveRectTo(rect, rect.left, work.top);
    }
    if (Width(rect) < Width(work) && rect.right > work.right) {
        MoveRectTo(rect, work.right - Width(rect), rect.top);
    }
    if (Height(rect) < Height(work) && rect.bottom > work.bottom) {
        MoveRectTo(rect, rect.left, work.bottom - Height(rect));
    }
}

void CenterRectOnMonitor(RECT& rect) {
    ClampRectToWorkArea(rect);
    const RECT work = GetWorkAreaAtPoint(GetCentre(rect));
    MoveRectTo(rect, work.left + (Width(work) - Width(rect)) / 2, work.top + (Height(work) - Height(rect)) / 2);
}

void ComputeWindowRectOnMonitor(RECT& rect, double fraction, bool center, HWND reference) {
    RECT area = {0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
    RECT window = {};
    if (reference != nullptr && GetWindowRect(reference, &window)) {
        area = GetWorkAreaAtPoint(GetCentre(window));
    }
    const double share = fraction <= 0 ? 0.2 : fraction > 1 ? 1 : fraction;
    const LONG width = static_cast<LONG>(Width(area) * share);
    const LONG height = static_cast<LONG>(Height(area) * share);
    rect = {area.left, area.top, area.left + width, area.top + height};
    if (center) {
        MoveRectTo(rect, area.left + (Width(area) - width) / 2, area.top + (Height(area) - height) / 2);
    }
}

void MoveWindowOntoMonitor(HWND window) {
    if (window == nullptr || MonitorFromWindow(window, MONITOR_DEFAULTTONULL) != nullptr) {
        return;
    }
    RECT work = {};
    RECT rect = {};
    if (!ReadWorkArea(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), work) || !GetWindowRect(window, &rect)) {
        return;
    }
    SetWindowPos(window, nullptr, work.left + (Width(work) - Width(rect)) / 2,
                 work.top + (Height(work) - Height(rect)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
