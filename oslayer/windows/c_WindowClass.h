#pragma once
// c_WindowClass: the holder of one registered window class (its atom and module instance).
//
// It registers once and unregisters when destroyed. It moves but does not copy: a move leaves the
// source empty, a move assignment swaps the two holders. The timer service and the hidden message
// windows each keep one for the whole process.

#include "strings/c_StringView.h"

#include <windows.h>

class c_WindowClass {
public:
    c_WindowClass() = default;
    c_WindowClass(c_WindowClass&& other) noexcept { Swap(other); }
    c_WindowClass& operator=(c_WindowClass&& other) noexcept {
        Swap(other);
        return *this;
    }
    ~c_WindowClass() { Unregister(); }
    c_WindowClass(const c_WindowClass&) = delete;
    c_WindowClass& operator=(const c_WindowClass&) = delete;

    // True at once when registered already, whatever the arguments. Otherwise registers a class of
    // style 0 without icon, cursor, brush, menu or extra bytes; false leaves the holder empty.
    bool Register(const c_StringView& name, HINSTANCE instance, WNDPROC procedure);
    // Unregisters when registered and empties the holder; the system's result is not looked at
    // (the class stays while windows of it exist).
    void Unregister();
    // A window of the class at the default position and size, without parent or menu; null on
    // failure.
    HWND CreateWindow(const c_StringView& title, DWORD style) const;

    void Swap(c_WindowClass& other) noexcept;
    explicit operator bool() const { return m_Atom != 0; }
    ATOM GetAtom() const { return m_Atom; }
    HINSTANCE GetInstance() const { return m_Instance; }

private:
    ATOM m_Atom = 0;
    HINSTANCE m_Instance = nullptr;
};
