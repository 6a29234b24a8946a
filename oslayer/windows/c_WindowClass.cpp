// c_WindowClass: registration, removal and window creation.

#include "oslayer/windows/c_WindowClass.h"

#include "oslayer/system/TextConversion.h"
#include "oslayer/windows/WindowCreation.h"

#include <utility>

bool c_WindowClass::Register(const c_StringView& name, HINSTANCE instance, WNDPROC procedure) {
    if (m_Atom != 0) {
        return true;
    }
    m_Atom = n_OSLayer::RegisterWindowClass(name, instance, procedure);
    if (m_Atom == 0) {
        return false;
    }
    m_Instance = instance;
    return true;
}

void c_WindowClass::Unregister() {
    if (m_Atom == 0) {
        return;
    }
    UnregisterClassW(MAKEINTATOM(m_Atom), m_Instance);
    m_Atom = 0;
    m_Instance = nullptr;
}

HWND c_WindowClass::CreateWindow(const c_StringView& title, DWORD style) const {
    return CreateWindowExW(0, MAKEINTATOM(m_Atom), n_OSLayer::UTF8ToWide(title).GetBuffer(), style, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, m_Instance, nullptr);
}

void c_WindowClass::Swap(c_WindowClass& other) noexcept {
    std::swap(m_Atom, other.m_Atom);
    std::swap(m_Instance, other.m_Instance);
}
