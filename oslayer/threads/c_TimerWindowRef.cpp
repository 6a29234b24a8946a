// c_TimerWindowRef: taking and giving back a reference to a thread's timer window.

#include "oslayer/threads/c_TimerWindowRef.h"

#include "oslayer/threads/c_TimerCore.h"

c_TimerWindowRef::c_TimerWindowRef(std::uint32_t threadId, HWND window) : m_ThreadId(threadId), m_Window(window) {
    if (window != nullptr) {
        c_TimerCore::AddWindowReference(threadId, window);
    }
}

void c_TimerWindowRef::Release() {
    // The thread id is read first: only the holder of the window, taken out by the exchange, may
    // give the reference back, and the id does not change while a window is held.
    const std::uint32_t threadId = m_ThreadId.load(std::memory_order_acquire);
    const HWND window = m_Window.exchange(nullptr, std::memory_order_acq_rel);
    if (window == nullptr) {
        return;
    }
    m_ThreadId.store(0, std::memory_order_release);
    c_TimerCore::ReleaseThreadWindow(threadId, window);
}

void c_TimerWindowRef::Swap(c_TimerWindowRef& other) noexcept {
    const std::uint32_t threadId = m_ThreadId.load(std::memory_order_relaxed);
    const HWND window = m_Window.load(std::memory_order_relaxed);
    m_ThreadId.store(other.m_ThreadId.load(std::memory_order_relaxed), std::memory_order_release);
    m_Window.store(other.m_Window.load(std::memory_order_relaxed), std::memory_order_release);
    other.m_ThreadId.store(threadId, std::memory_order_release);
    other.m_Window.store(window, std::memory_order_release);
}
