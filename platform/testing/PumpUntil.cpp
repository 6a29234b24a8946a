// PumpUntil: the message loop of tests, bounded by a watchdog on real time; WaitUntil for the rest.

#include "platform/testing/PumpUntil.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace n_Platform {

namespace {

// Sets an event once the real-time limit has passed, unless dismissed first; the event wakes the
// pumping thread's wait for input, which has no time-out of its own.
class c_Watchdog {
public:
    c_Watchdog() : m_Event(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_Thread([this] { Watch(); }) {}
    ~c_Watchdog() {
        {
            std::lock_guard<std::mutex> lock(m_Lock);
            m_Dismissed = true;
        }
        m_Changed.notify_one();
        m_Thread.join();
        CloseHandle(m_Event);
    }
    c_Watchdog(const c_Watchdog&) = delete;
    c_Watchdog& operator=(const c_Watchdog&) = delete;

    HANDLE GetEvent() const { return m_Event; }

private:
    void Watch() {
        std::unique_lock<std::mutex> lock(m_Lock);
        if (!m_Changed.wait_for(lock, std::chrono::milliseconds(PROMPTLY_MS), [this] { return m_Dismissed; })) {
            SetEvent(m_Event);
        }
    }

    HANDLE m_Event;
    std::mutex m_Lock;
    std::condition_variable m_Changed;
    bool m_Dismissed = false;
    std::thread m_Thread;
};

} // namespace

bool WaitUntil(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(PROMPTLY_MS);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= limit) {
            return done();
        }
        std::this_thread::yield();
    }
    return true;
}

void PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done) {
    PumpPending();
    if (done()) {
        return true;
    }
    c_Watchdog watchdog;
    const HANDLE expired = watchdog.GetEvent();
    while (!done()) {
        if (MsgWaitForMultipleObjectsEx(1, &expired, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) {
            return done();
        }
        PumpPending();
    }
    return true;
}

} // namespace n_Platform

namespace n_Platform {

bool PumpAndWaitUntil(const std::function<bool()>& done) {
    return WaitUntil([&] {
        PumpPending();
        return done();
    });
}

} // namespace n_Platform
