// AfxRegisterWndClass: a window class named after its style, cursor, brush and icon, registered once.

#include <afxwin.h>

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace {

// "Afx:" and the instance, style, cursor, brush and icon in hexadecimal, joined by ':'.
std::u16string FrameworkClassName(HINSTANCE instance, UINT style, HCURSOR cursor, HBRUSH brush, HICON icon) {
    char text[128];
    const int length = std::snprintf(text, sizeof text, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(instance), style,
                                     static_cast<void*>(cursor), static_cast<void*>(brush), static_cast<void*>(icon));
    return std::u16string(text, text + (length > 0 ? length : 0));
}

} // namespace

LPCWSTR AFXAPI AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    // The names live as long as the process, as the classes do.
    static std::mutex lock;
    static std::set<std::u16string>* names = new std::set<std::u16string>;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::u16string name = FrameworkClassName(instance, classStyle, cursor, background, icon);
    std::lock_guard<std::mutex> guard(lock);
    const auto known = names->find(name);
    if (known != names->end()) {
        return known->c_str();
    }
    WNDCLASSEXW description = {};
    description.cbSize = sizeof description;
    description.style = classStyle;
    description.lpfnWndProc = DefWindowProcW;
    description.hInstance = instance;
    description.hCursor = cursor;
    description.hbrBackground = background;
    description.hIcon = icon;
    description.lpszClassName = name.c_str();
    if (RegisterClassExW(&description) == 0) {
        return nullptr;
    }
    return names->insert(name).first->c_str();
}
