#pragma once
// c_TimerWindowRef: a counted reference to the hidden timer window of one thread.
//
// The timer service counts the references of each thread's window; the window goes when the last
// one is released. The reference is taken out atomically, so a timer stopped on its own thread and
// from another thread at once releases it once.

#include <windows.h>

#include <atomic>
#include <cstdint>

class c_TimerWindowRef {
public:
    c_TimerWindowRef() = default;
    // Adds one reference when the window is not null and the service runs.
    c_TimerWindowRef(std::uint32_t threadId, HWND window);
    c_TimerWindowRef(c_TimerWindowRef&& other) noexcept { Swap(other); }
    c_TimerWindowRef& operator=(c_TimerWindowRef&& other) noexcept {
        Swap(other);
        return *this;
    }
    ~c_TimerWindowRef() { Release(); }
    c_TimerWindowRef(const c_TimerWindowRef&) = delete;
    c_TimerWindowRef& operator=(const c_TimerWindowRef&) = delete;

    // Refers to nothing afterwards. Gives the reference back while the service runs or stops.
    void Release();
    // Owner-thread only: the other reference may not change meanwhile.
    void Swap(c_TimerWindowRef& other) noexcept;

    std::uint32_t GetThreadId() const { return m_ThreadId.load(std::memory_order_acquire); }
    HWND GetWindow() const { return m_Window.load(std::memory_order_acquire); }

private:
    std::atomic<std::uint32_t> m_ThreadId{0};
    std::atomic<HWND> m_Window{nullptr};
};
