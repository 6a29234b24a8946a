// c_Handle: closing, replacing and swapping the held handle.

#include "oslayer/threads/c_Handle.h"

#include <utility>

c_Handle& c_Handle::operator=(HANDLE handle) {
    // Closing the handle that is being assigned would leave the holder with a dead one.
    if (handle != m_Handle) {
        Close();
        m_Handle = handle;
    }
    return *this;
}

void c_Handle::Close() {
    if (IsValid()) {
        CloseHandle(m_Handle);
    }
    m_Handle = nullptr;
}

void c_Handle::Swap(c_Handle& other) {
    std::swap(m_Handle, other.m_Handle);
}
