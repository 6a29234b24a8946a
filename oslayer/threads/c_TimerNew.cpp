// c_TimerNew: starting, stopping and the events of one timer.

#include "oslayer/threads/c_TimerNew.h"

#include "oslayer/threads/c_TimerCore.h"

#include <algorithm>
#include <utility>

std::atomic<void (*)(c_TimerNew*)> TimerExceptionHook{nullptr};

namespace {

constexpr double DEFAULT_FACTOR = 1.5;
constexpr std::uint64_t DEFAULT_MAX_INTERVAL_MS = 1000;

std::atomic<std::uint32_t> g_NextTimerId{1};

} // namespace

c_TimerNew::c_TimerNew(c_TimerNewCallback* owner, c_String name)
    : m_p_Owner(owner), m_Name(std::move(name)), m_Id(g_NextTimerId.fetch_add(1)) {}

c_TimerNew::~c_TimerNew() {
    Stop();
}

void c_TimerNew::Start(std::uint32_t intervalMs, std::int32_t repeatCount, bool doNotRestartIfRunning, bool adaptive,
                       double factor, std::uint64_t maxIntervalMs) {
    if (IsRunning() && doNotRestartIfRunning) {
        return;
    }
    if (m_WindowRef.GetWindow() != nullptr) {
        if (m_WindowRef.GetThreadId() != GetCurrentThreadId()) {
            return;
        }
    } else {
        m_WindowRef = c_TimerCore::AcquireThreadWindow();
    }
    const std::uint32_t interval = std::max(intervalMs, MINIMUM_INTERVAL_MS);
    const std::int32_t repetitions = std::max(repeatCount, 0);
    const std::uint64_t now = GetTickCount64();
    s_TimerEntry entry = {this,
                          m_WindowRef.GetWindow(),
                          interval,
                          repetitions,
                          now,
                          now,
                          0,
                          repetitions == 0,
                          m_SkipWhilePending,
                          false,
                          adaptive,
                          DEFAULT_FACTOR,
                          DEFAULT_MAX_INTERVAL_MS};
    if (adaptive && factor > 0) {
        entry.m_Factor = factor;
    }
    if (adaptive && maxIntervalMs != 0) {
        entry.m_MaxInterval = maxIntervalMs;
    }
    m_Interval.store(interval, std::memory_order_release);
    m_Running.store(c_TimerCore::AddTimer(m_Id, entry), std::memory_order_release);
}

void c_TimerNew::Stop() {
    if (c_TimerCore::GetState() != c_TimerCore::STOPPED) {
        c_TimerCore::RemoveTimer(m_Id);
        const HWND window = m_WindowRef.GetWindow();
        if (m_WindowRef.GetThreadId() == GetCurrentThreadId()) {
            c_TimerCore::RemoveThreadTimer(m_Id);
        } else if (window != nullptr) {
            // The bound thread drops its entry when this arrives, after any event queued before it.
            PostMessageW(window, WM_USER, m_Id, 0);
        }
    }
    m_WindowRef.Release();
    m_Interval.store(0, std::memory_order_release);
    m_Running.store(false, std::memory_order_release);
}

void c_TimerNew::OnTimerEvent(bool lastRepetition) {
    if (!IsRunning()) {
        return;
    }
    if (lastRepetition) {
        m_Running.store(false, std::memory_order_release);
    }
    if (m_p_Owner == nullptr) {
        return;
    }
    // A timer callback is one of the system's exception boundaries.
    try {
        m_p_Owner->OnTimer(this);
    } catch (...) {
        if (auto* hook = TimerExceptionHook.load()) {
            hook(this);
        }
    }
}
