#pragma once
// Leave tracking for TrackMouseEvent: where the cursor is, seen through the layer's windows, and the
// check that tells tracked windows the cursor left them.

#include <windows.h>

namespace n_Platform {

// The cursor lies within the window's rectangle and not over one of its visible children (a group
// box lets the cursor through to what it frames), by the layer's cursor and rectangles.
bool IsCursorOverWindow(HWND window);
// Any thread: every tracked window that the back end no longer finds the pointer over
// (c_UserBackend::IsPointerOver) gets WM_MOUSELEAVE, and its tracking ends.
void CheckMouseLeave();

} // namespace n_Platform
