// n_OSLayer scroll bars, deferred positions and flashing over the Windows calls.

#include "oslayer/windows/ScrollingCalls.h"

namespace n_OSLayer {

int SetScrollPos(HWND window, int bar, int position, bool redraw) {
    return ::SetScrollPos(window, bar, position, redraw ? TRUE : FALSE);
}

int GetScrollPos(HWND window, int bar) {
    return ::GetScrollPos(window, bar);
}

bool ShowScrollBar(HWND window, int bar, bool show) {
    return ::ShowScrollBar(window, bar, show ? TRUE : FALSE) != FALSE;
}

int SetScrollInfo(HWND window, int bar, SCROLLINFO* info, bool redraw) {
    return ::SetScrollInfo(window, bar, info, redraw ? TRUE : FALSE);
}

BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info) {
    return ::GetScrollInfo(window, bar, info);
}

HDWP BeginDeferWindowPos(int count) {
    return ::BeginDeferWindowPos(count);
}

HDWP DeferWindowPos(HDWP positions, HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    return ::DeferWindowPos(positions, window, insertAfter, x, y, width, height, flags);
}

bool EndDeferWindowPos(HDWP positions) {
    return ::EndDeferWindowPos(positions) != FALSE;
}

bool FlashWindow(HWND window, DWORD flags, UINT count, DWORD timeoutMs) {
    FLASHWINFO info = {sizeof(FLASHWINFO), window, flags, count, timeoutMs};
    return FlashWindowEx(&info) != FALSE;
}

} // namespace n_OSLayer
