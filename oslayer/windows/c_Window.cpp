// n_OSLayer::c_Window: making and destroying the owned window.

#include "oslayer/windows/c_Window.h"

#include "oslayer/windows/WindowCreation.h"

namespace n_OSLayer {

bool c_Window::Create(DWORD exStyle, LPCWSTR className, const c_StringView& title, DWORD style, const RECT& rect,
                      c_WindowWrapper parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    Destroy();
    SetHandle(
        CreateWindow(c_WindowClassId(className), exStyle, title, style, &rect, parent, menu, instance, parameter));
    return GetHandle() != nullptr;
}

void c_Window::Destroy() {
    if (GetHandle() != nullptr) {
        DestroyWindow();
        SetHandle(nullptr);
    }
}

} // namespace n_OSLayer
