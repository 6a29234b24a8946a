#pragma once
// c_Handle: the owner of one Windows handle, closed when the owner lets go of it.
//
// Both 0 and INVALID_HANDLE_VALUE mean "no handle". A holder is never copied; ownership moves by
// Swap.

#include <windows.h>

class c_Handle {
public:
    explicit c_Handle(HANDLE handle = nullptr) : m_Handle(handle) {}
    ~c_Handle() { Close(); }
    c_Handle(const c_Handle&) = delete;
    c_Handle& operator=(const c_Handle&) = delete;

    // Closes the held handle and takes this one; assigning the held handle again changes nothing.
    c_Handle& operator=(HANDLE handle);
    // Closes the handle when valid; holds 0 afterwards in every case.
    void Close();

    HANDLE Get() const { return m_Handle; }
    bool IsValid() const { return m_Handle != nullptr && m_Handle != INVALID_HANDLE_VALUE; }
    void Swap(c_Handle& other);

private:
    HANDLE m_Handle;
};
