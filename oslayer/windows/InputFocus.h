#pragma once
// n_OSLayer keyboard focus and mouse capture: thin wrappers of the calls of the calling thread.

#include <windows.h>

namespace n_OSLayer {

// The window that had the focus.
HWND SetFocus(HWND window);
HWND GetFocus();
// The window that had the capture.
HWND SetCapture(HWND window);
bool ReleaseCapture();

} // namespace n_OSLayer
