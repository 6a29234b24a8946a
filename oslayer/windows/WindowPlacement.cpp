// n_OSLayer window placement.

#include "oslayer/windows/WindowPlacement.h"

#include "oslayer/windows/c_WindowWrapper.h"

#include <atomic>

namespace {

// Process-wide, read only by the adjusted readers.
std::atomic<std::int32_t> g_LeftOffset{0};
std::atomic<std::int32_t> g_TopOffset{0};
std::atomic<bool> g_OffsetsEnabled{false};

c_String Unsigned(UINT value) {
    return c_String::MakeFormatted("%u", value);
}

c_String Signed(LONG value) {
    return c_String::MakeFormatted("%d", value);
}

void AddPositiveOffsets(RECT& rect) {
    const std::int32_t left = g_LeftOffset.load(std::memory_order_relaxed);
    const std::int32_t top = g_TopOffset.load(std::memory_order_relaxed);
    if (left > 0) {
        rect.left += left;
        rect.right += left;
    }
    if (top > 0) {
        rect.top += top;
        rect.bottom += top;
    }
}

} // namespace

namespace n_OSLayer {

std::int32_t GetRectWidth(const RECT& rect) {
    return rect.right - rect.left;
}

std::int32_t GetRectHeight(const RECT& rect) {
    return rect.bottom - rect.top;
}

bool GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement, bool keepNormalPosition) {
    if (placement == nullptr) {
        return false;
    }
    placement->length = sizeof(WINDOWPLACEMENT);
    if (!g_OffsetsEnabled.load(std::memory_order_relaxed)) {
        return ::GetWindowPlacement(window, placement) != FALSE;
    }
    return GetWindowPlacementAdjusted(window, placement, keepNormalPosition);
}

bool GetWindowPlacementAdjusted(HWND window, WINDOWPLACEMENT* placement, bool keepNormalPosition) {
    if (placement == nullptr || !::GetWindowPlacement(window, placement)) {
        return false;
    }
    placement->flags = PLACEMENT_MARKER;
    if (keepNormalPosition) {
        return true;
    }
    if (placement->showCmd != SW_SHOWMINIMIZED && placement->showCmd != SW_MINIMIZE) {
        ::GetWindowRect(window, &placement->rcNormalPosition);
    } else {
        AddPositiveOffsets(placement->rcNormalPosition);
    }
    return true;
}

bool SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement) {
    return c_WindowWrapper(window).RestoreWindowPlacement(placement);
}

bool SetWindowPlacementDirect(HWND window, const WINDOWPLACEMENT* placement) {
    if (placement == nullptr) {
        return false;
    }
    WINDOWPLACEMENT copy = *placement;
    return c_WindowWrapper(window).SetWindowPlacementWithMinPosition(&copy);
}

void SetWindowPlacementOffsets(std::int32_t topOffset, std::int32_t leftOffset, bool enable) {
    g_TopOffset.store(topOffset, std::memory_order_relaxed);
    g_LeftOffset.store(leftOffset, std::memory_order_relaxed);
    g_OffsetsEnabled.store(enable, std::memory_order_relaxed);
}

c_String WindowPlacementToText(const WINDOWPLACEMENT& placement) {
    const RECT& normal = placement.rcNormalPosition;
    return Concat({"WINDOWPLACEMENT { length: ",
                   Unsigned(placement.length),
                   " | flags: ",
                   Unsigned(placement.flags),
                   " | showCmd: ",
                   Unsigned(placement.showCmd),
                   " | ptMinPosition: {",
                   Signed(placement.ptMinPosition.x),
                   ", ",
                   Signed(placement.ptMinPosition.y),
                   "} | ptMaxPosition: {",
                   Signed(placement.ptMaxPosition.x),
                   ", ",
                   Signed(placement.ptMaxPosition.y),
                   "} | rcNormalPosition: { {",
                   Signed(normal.left),
                   ", ",
                   Signed(normal.top),
                   "}, {",
                   Signed(normal.right),
                   ", ",
                   Signed(normal.bottom),
                   "} } }"});
}

} // namespace n_OSLayer
