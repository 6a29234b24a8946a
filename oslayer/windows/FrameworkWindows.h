#pragma once
// The framework's window classes and window creation with UTF-8 class and window names. Each call
// converts the names and calls the object's creation member; a null object makes nothing.

#include "strings/c_StringView.h"

#include <afxwin.h>

// A class of the framework's window procedure and the module's instance, with the style, cursor and
// icon, no extra bytes, brush or menu; an already registered class counts as registered.
bool RegisterMFCWindowClass(const c_StringView& className, UINT style, HCURSOR cursor, HICON icon);

// CWnd::Create: a child window with the id.
bool CreateWindowUTF8(CWnd* window, const c_StringView& className, const c_StringView& windowName, DWORD style,
                      const RECT& rect, CWnd* parent, UINT id, CCreateContext* context);
bool CreateWindowExUTF8Rect(CWnd* window, DWORD exStyle, const c_StringView& className, const c_StringView& windowName,
                            DWORD style, const RECT& rect, CWnd* parent, UINT id, LPVOID param);
bool CreateWindowExUTF8(CWnd* window, DWORD exStyle, const c_StringView& className, const c_StringView& windowName,
                        DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu, LPVOID param);
// CFrameWnd::Create with the menu resource of the id (none for 0), extended style 0 and no context.
bool CreateFrameUTF8(CFrameWnd* frame, const c_StringView& className, const c_StringView& title, DWORD style,
                     const RECT& rect, CWnd* parent, UINT menuId);
bool CreateMiniFrameUTF8(CMiniFrameWnd* frame, const c_StringView& className, const c_StringView& title, DWORD style,
                         const RECT& rect, CWnd* parent, UINT id);
