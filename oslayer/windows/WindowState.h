#pragma once
// n_OSLayer window state, position and text: thin wrappers of the window calls, texts in UTF-8.

#include "strings/c_String.h"

#include <windows.h>

namespace n_OSLayer {

bool IsWindow(HWND window);
bool IsWindowVisible(HWND window);
bool IsIconic(HWND window);
bool IsZoomed(HWND window);
bool IsWindowEnabled(HWND window);
bool DestroyWindow(HWND window);
bool ShowWindow(HWND window, int command);
bool EnableWindow(HWND window, bool enable);
bool BringWindowToTop(HWND window);
// True when a window was active before.
bool SetActiveWindow(HWND window);
HWND GetActiveWindow();
// Null for a null window, without calling Windows.
HWND GetParent(HWND window);

bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint);
bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
// HWND_TOPMOST or HWND_NOTOPMOST, neither moved nor sized, activated unless noActivate.
bool SetWindowTopmost(HWND window, bool topmost, bool noActivate);
bool GetClientRect(HWND window, RECT* rect);
bool GetWindowRect(HWND window, RECT* rect);
bool ClientToScreen(HWND window, POINT* point);
bool ScreenToClient(HWND window, POINT* point);
LONG GetWindowLong(HWND window, int index);
LONG SetWindowLong(HWND window, int index, LONG value);

void SetWindowText(HWND window, const c_StringView& text);
// Cut at the first NUL; empty for a window without text.
c_String GetWindowText(HWND window);
// WM_GETFONT: the window's font, null when it has the system's.
HFONT GetWindowFont(HWND window);

} // namespace n_OSLayer
