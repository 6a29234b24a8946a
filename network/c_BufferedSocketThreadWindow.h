#pragma once
// c_BufferedSocketThreadWindow: the hidden window "BufferedSocket" of one owner thread, to which the
// core posts the socket events of that thread's sockets.
//
// Counted: every socket the thread adds takes a reference and its release gives it back. The core
// keeps at most one per thread, under its thread-window lock.

#include "oslayer/windows/c_AsyncWindow.h"

#include <cstdint>

class c_BufferedSocketThreadWindow : public c_AsyncWindow {
public:
    c_BufferedSocketThreadWindow();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Create();
    void AddRef() { ++m_ReferenceCount; }
    // True when that was the last reference.
    bool Release() { return --m_ReferenceCount == 0; }

private:
    std::int32_t m_ReferenceCount = 0;
};
