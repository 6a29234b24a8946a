// Window creation of CWnd, CFrameWnd and CMiniFrameWnd, and the framework's class registration.

#include "platform/mfc/WindowCreation.h"

#include <utility>

namespace {

// Set by CreateEx around CreateWindowExW; the window's first message through AfxWndProc binds it.
thread_local CWnd* t_Creating = nullptr;

bool IsRegistered(const WNDCLASSW& description) {
    WNDCLASSW known = {};
    return GetClassInfoW(description.hInstance, description.lpszClassName, &known) != FALSE;
}

} // namespace

namespace n_Platform {

CWnd* BindCreatingWindow(HWND window) {
    CWnd* object = std::exchange(t_Creating, nullptr);
    if (object != nullptr && !object->Attach(window)) {
        return nullptr;
    }
    return object;
}

} // namespace n_Platform

BOOL AFXAPI AfxRegisterClass(WNDCLASSW* description) {
    if (description == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (IsRegistered(*description)) {
        return TRUE;
    }
    WNDCLASSEXW extended = {sizeof(WNDCLASSEXW),       description->style,         description->lpfnWndProc,
                            description->cbClsExtra,   description->cbWndExtra,    description->hInstance,
                            description->hIcon,        description->hCursor,       description->hbrBackground,
                            description->lpszMenuName, description->lpszClassName, nullptr};
    return RegisterClassExW(&extended) != 0 ? TRUE : FALSE;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext* context) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param) {
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent != nullptr ? parent->GetSafeHwnd() : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu, LPVOID param) {
    if (m_hWnd != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (className == nullptr) {
        className = AfxRegisterWndClass(0);
    }
    CWnd* const outer = std::exchange(t_Creating, this);
    const HWND window = CreateWindowExW(exStyle, className, windowName, style, x, y, width, height, parent, menu,
                                        GetModuleHandleW(nullptr), param);
    // A window whose procedure is not AfxWndProc never asked for its object.
    const bool bound = t_Creating == nullptr;
    t_Creating = outer;
    if (window == nullptr) {
        return FALSE;
    }
    if (!bound && !SubclassWindow(window)) {
        ::DestroyWindow(window);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                       LPCWSTR menuName, DWORD exStyle, CCreateContext* context) {
    HMENU menu = nullptr;
    if (menuName != nullptr && (menu = LoadMenuW(GetModuleHandleW(nullptr), menuName)) == nullptr) {
        return FALSE;
    }
    if (CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, parent != nullptr ? parent->GetSafeHwnd() : nullptr, menu, context)) {
        return TRUE;
    }
    if (menu != nullptr) {
        DestroyMenu(menu);
    }
    return FALSE;
}

BOOL CMiniFrameWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                           UINT id) {
    return CreateEx(0, className, windowName, style, rect, parent, id);
}
