#pragma once
// TrackMouseLeave: WM_MOUSELEAVE for a window once the mouse leaves it.

#include <windows.h>

// Asks for leave tracking of the window unless the thread already tracks a leave (TME_QUERY first).
// The result is that of the last TrackMouseEvent call.
bool TrackMouseLeave(HWND window);
