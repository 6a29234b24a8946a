#pragma once
// c_WindowClassId: a window class named by one pointer-sized value, an atom or a class name.
//
// It is passed unchanged as the class argument of CreateWindowExW and UnregisterClassW; the name
// form points at the caller's NUL-terminated UTF-16 text, which must outlive the call.

#include <windows.h>

class c_WindowClassId {
public:
    explicit c_WindowClassId(ATOM atom) : m_p_Value(MAKEINTATOM(atom)) {}
    explicit c_WindowClassId(LPCWSTR name) : m_p_Value(name) {}

    LPCWSTR Get() const { return m_p_Value; }

private:
    LPCWSTR m_p_Value;
};
