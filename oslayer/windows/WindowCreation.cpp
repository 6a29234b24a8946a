// n_OSLayer window classes and window creation.

#include "oslayer/windows/WindowCreation.h"

#include "oslayer/system/TextConversion.h"

#include <afxwin.h>

namespace {

constexpr int CLASS_NAME_UNITS = 256;

WNDCLASSEXW PlainClass(const c_WString& name, HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW description = {};
    description.cbSize = sizeof description;
    description.lpfnWndProc = procedure;
    description.hInstance = instance;
    description.lpszClassName = name.GetBuffer();
    return description;
}

} // namespace

namespace n_OSLayer {

ATOM RegisterWindowClass(const c_StringView& name, HINSTANCE instance, WNDPROC procedure) {
    const c_WString wideName = UTF8ToWide(name);
    const WNDCLASSEXW description = PlainClass(wideName, instance, procedure);
    return RegisterClassExW(&description);
}

bool UnregisterWindowClass(const c_StringView& name, HINSTANCE instance) {
    return UnregisterClassW(UTF8ToWide(name).GetBuffer(), instance) != FALSE;
}

bool UnregisterWindowClass(ATOM atom, HINSTANCE instance) {
    return UnregisterWindowClass(c_WindowClassId(atom), instance);
}

bool UnregisterWindowClass(c_WindowClassId windowClass, HINSTANCE instance) {
    return UnregisterClassW(windowClass.Get(), instance) != FALSE;
}

bool GetWindowClassInfo(HINSTANCE instance, const c_StringView& name, WNDCLASSW* description) {
    return GetClassInfoW(instance, UTF8ToWide(name).GetBuffer(), description) != FALSE;
}

c_String RegisterFrameworkWindowClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    return WideToUTF8(c_WStringView(AfxRegisterWndClass(classStyle, cursor, background, icon)));
}

c_String GetWindowClassName(HWND window) {
    WCHAR buffer[CLASS_NAME_UNITS] = {};
    const int count = GetClassNameW(window, buffer, CLASS_NAME_UNITS);
    return WideToUTF8(c_WStringView(buffer, count < 0 ? 0 : count, true));
}

HWND CreateWindow(c_WindowClassId windowClass, DWORD exStyle, const c_StringView& title, DWORD style, int x, int y,
                  int width, int height, c_WindowWrapper parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    return CreateWindowExW(exStyle, windowClass.Get(), UTF8ToWide(title).GetBuffer(), style, x, y, width, height,
                           parent.GetHandle(), menu, instance, parameter);
}

HWND CreateWindow(c_WindowClassId windowClass, DWORD exStyle, const c_StringView& title, DWORD style, const RECT* rect,
                  c_WindowWrapper parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    if (rect == nullptr) {
        return CreateWindow(windowClass, exStyle, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, parent, menu, instance, parameter);
    }
    return CreateWindow(windowClass, exStyle, title, style, rect->left, rect->top, rect->right - rect->left,
                        rect->bottom - rect->top, parent, menu, instance, parameter);
}

HWND CreateWindow(DWORD exStyle, const c_StringView& className, const c_StringView& title, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    return CreateWindowExW(exStyle, UTF8ToWide(className).GetBuffer(), UTF8ToWide(title).GetBuffer(), style, x, y,
                           width, height, parent, menu, instance, parameter);
}

HWND CreateWindow(ATOM atom, const c_StringView& title, DWORD style, HINSTANCE instance) {
    return CreateWindow(c_WindowClassId(atom), 0, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, c_WindowWrapper(), nullptr, instance, nullptr);
}

} // namespace n_OSLayer
