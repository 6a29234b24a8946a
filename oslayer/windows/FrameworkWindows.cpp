// The framework's window classes and window creation with UTF-8 names.

#include "oslayer/windows/FrameworkWindows.h"

#include "oslayer/system/TextConversion.h"

bool RegisterMFCWindowClass(const c_StringView& className, UINT style, HCURSOR cursor, HICON icon) {
    const c_WString name = n_OSLayer::UTF8ToWide(className);
    WNDCLASSW description = {};
    description.style = style;
    description.lpfnWndProc = AfxWndProc;
    description.hInstance = GetModuleHandleW(nullptr);
    description.hIcon = icon;
    description.hCursor = cursor;
    description.lpszClassName = name.GetBuffer();
    return AfxRegisterClass(&description) != FALSE;
}

bool CreateWindowUTF8(CWnd* window, const c_StringView& className, const c_StringView& windowName, DWORD style,
                      const RECT& rect, CWnd* parent, UINT id, CCreateContext* context) {
    return window != nullptr &&
           window->Create(n_OSLayer::UTF8ToWide(className).GetBuffer(), n_OSLayer::UTF8ToWide(windowName).GetBuffer(),
                          style, rect, parent, id, context) != FALSE;
}

bool CreateWindowExUTF8Rect(CWnd* window, DWORD exStyle, const c_StringView& className, const c_StringView& windowName,
                            DWORD style, const RECT& rect, CWnd* parent, UINT id, LPVOID param) {
    return window != nullptr &&
           window->CreateEx(exStyle, n_OSLayer::UTF8ToWide(className).GetBuffer(),
                            n_OSLayer::UTF8ToWide(windowName).GetBuffer(), style, rect, parent, id, param) != FALSE;
}

bool CreateWindowExUTF8(CWnd* window, DWORD exStyle, const c_StringView& className, const c_StringView& windowName,
                        DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu, LPVOID param) {
    return window != nullptr && window->CreateEx(exStyle, n_OSLayer::UTF8ToWide(className).GetBuffer(),
                                                 n_OSLayer::UTF8ToWide(windowName).GetBuffer(), style, x, y, width,
                                                 height, parent, menu, param) != FALSE;
}

bool CreateFrameUTF8(CFrameWnd* frame, const c_StringView& className, const c_StringView& title, DWORD style,
                     const RECT& rect, CWnd* parent, UINT menuId) {
    return frame != nullptr &&
           frame->Create(n_OSLayer::UTF8ToWide(className).GetBuffer(), n_OSLayer::UTF8ToWide(title).GetBuffer(), style,
                         rect, parent, MAKEINTRESOURCEW(menuId), 0, nullptr) != FALSE;
}

bool CreateMiniFrameUTF8(CMiniFrameWnd* frame, const c_StringView& className, const c_StringView& title, DWORD style,
                         const RECT& rect, CWnd* parent, UINT id) {
    return frame != nullptr &&
           frame->Create(n_OSLayer::UTF8ToWide(className).GetBuffer(), n_OSLayer::UTF8ToWide(title).GetBuffer(), style,
                         rect, parent, id) != FALSE;
}
