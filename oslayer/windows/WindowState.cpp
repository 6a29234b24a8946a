// n_OSLayer window state, position and text, through c_WindowWrapper.

#include "oslayer/windows/WindowState.h"

#include "oslayer/windows/c_WindowWrapper.h"

namespace n_OSLayer {

bool IsWindow(HWND window) {
    return c_WindowWrapper(window).IsWindow();
}

bool IsWindowVisible(HWND window) {
    return c_WindowWrapper(window).IsWindowVisible();
}

bool IsIconic(HWND window) {
    return c_WindowWrapper(window).IsIconic();
}

bool IsZoomed(HWND window) {
    return c_WindowWrapper(window).IsZoomed();
}

bool IsWindowEnabled(HWND window) {
    return c_WindowWrapper(window).IsWindowEnabled();
}

bool DestroyWindow(HWND window) {
    return c_WindowWrapper(window).DestroyWindow();
}

bool ShowWindow(HWND window, int command) {
    return c_WindowWrapper(window).ShowWindow(command);
}

bool EnableWindow(HWND window, bool enable) {
    return c_WindowWrapper(window).EnableWindow(enable);
}

bool BringWindowToTop(HWND window) {
    return c_WindowWrapper(window).BringWindowToTop();
}

bool SetActiveWindow(HWND window) {
    return c_WindowWrapper(window).SetActiveWindow().GetHandle() != nullptr;
}

HWND GetActiveWindow() {
    return ::GetActiveWindow();
}

HWND GetParent(HWND window) {
    return c_WindowWrapper(window).GetParent().GetHandle();
}

bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint) {
    return c_WindowWrapper(window).MoveWindow(x, y, width, height, repaint);
}

bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    return c_WindowWrapper(window).SetWindowPos(insertAfter, x, y, width, height, flags);
}

bool SetWindowTopmost(HWND window, bool topmost, bool noActivate) {
    return c_WindowWrapper(window).SetTopMost(topmost, noActivate);
}

bool GetClientRect(HWND window, RECT* rect) {
    return c_WindowWrapper(window).GetClientRect(rect);
}

bool GetWindowRect(HWND window, RECT* rect) {
    return c_WindowWrapper(window).GetWindowRect(rect);
}

bool ClientToScreen(HWND window, POINT* point) {
    return c_WindowWrapper(window).ClientToScreen(point);
}

bool ScreenToClient(HWND window, POINT* point) {
    return c_WindowWrapper(window).ScreenToClient(point);
}

LONG GetWindowLong(HWND window, int index) {
    return c_WindowWrapper(window).GetWindowLong(index);
}

LONG SetWindowLong(HWND window, int index, LONG value) {
    return c_WindowWrapper(window).SetWindowLong(index, value);
}

void SetWindowText(HWND window, const c_StringView& text) {
    c_WindowWrapper(window).SetWindowText(text);
}

c_String GetWindowText(HWND window) {
    return c_WindowWrapper(window).GetWindowText();
}

HFONT GetWindowFont(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

} // namespace n_OSLayer
