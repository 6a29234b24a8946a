#pragma once
// n_OSLayer scroll bars, deferred positions and flashing: thin wrappers of the window calls.

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

// The previous position.
int SetScrollPos(HWND window, int bar, int position, bool redraw);
int GetScrollPos(HWND window, int bar);
bool ShowScrollBar(HWND window, int bar, bool show);
// The position after the change.
int SetScrollInfo(HWND window, int bar, SCROLLINFO* info, bool redraw);
BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info);

HDWP BeginDeferWindowPos(int count);
HDWP DeferWindowPos(HDWP positions, HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
bool EndDeferWindowPos(HDWP positions);

// FlashWindowEx with a 32-byte FLASHWINFO for the window.
bool FlashWindow(HWND window, DWORD flags, UINT count, DWORD timeoutMs);

} // namespace n_OSLayer
