#pragma once
// n_OSLayer window classes and window creation, with UTF-8 texts.
//
// The class record of every registration here is the plain one: style 0, the procedure, the
// instance and the name, and nothing else (no icon, cursor, brush, menu or extra bytes).

#include "oslayer/windows/c_WindowClassId.h"
#include "oslayer/windows/c_WindowWrapper.h"
#include "strings/c_String.h"

#include <windows.h>

namespace n_OSLayer {

// The atom, or 0 on failure; keeps nothing.
ATOM RegisterWindowClass(const c_StringView& name, HINSTANCE instance, WNDPROC procedure);
bool UnregisterWindowClass(const c_StringView& name, HINSTANCE instance);
bool UnregisterWindowClass(ATOM atom, HINSTANCE instance);
bool UnregisterWindowClass(c_WindowClassId windowClass, HINSTANCE instance);
bool GetWindowClassInfo(HINSTANCE instance, const c_StringView& name, WNDCLASSW* description);
// The framework's class for the style, cursor, background brush and icon (AfxRegisterWndClass): its
// name, empty when it has none.
c_String RegisterFrameworkWindowClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon);
// The window's class name, empty for no window.
c_String GetWindowClassName(HWND window);

HWND CreateWindow(c_WindowClassId windowClass, DWORD exStyle, const c_StringView& title, DWORD style, int x, int y,
                  int width, int height, c_WindowWrapper parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
// A null rectangle gives the default position and size.
HWND CreateWindow(c_WindowClassId windowClass, DWORD exStyle, const c_StringView& title, DWORD style, const RECT* rect,
                  c_WindowWrapper parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
HWND CreateWindow(DWORD exStyle, const c_StringView& className, const c_StringView& title, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
// A top-level window of the class at the default position and size, without parent, menu or
// creation parameter.
HWND CreateWindow(ATOM atom, const c_StringView& title, DWORD style, HINSTANCE instance);

} // namespace n_OSLayer
