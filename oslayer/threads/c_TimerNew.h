#pragma once
// c_TimerNew: a named timer whose owner is called on the thread that started it.
//
// Start binds the timer to the calling thread until the next Stop; while bound, Start from another
// thread is ignored and events are delivered only there. Stop may come from any thread: the timer
// leaves the service at once, and an event already queued then finds it stopped. Destroy a timer on
// its bound thread, since queued events refer to it. The owner may start, stop or destroy the timer
// from inside its own callback.

#include "oslayer/threads/c_TimerNewCallback.h"
#include "oslayer/threads/c_TimerWindowRef.h"
#include "strings/c_String.h"

#include <atomic>
#include <cstdint>

// Called with the timer when its owner's callback raised an exception; the application sets it at
// start-up (LogTimerException). The timer goes on as if the callback had returned.
extern std::atomic<void (*)(c_TimerNew*)> TimerExceptionHook;

class c_TimerNew {
public:
    static constexpr std::uint32_t MINIMUM_INTERVAL_MS = 10;

    // Timers take ids 1, 2, 3 ... in order of construction.
    c_TimerNew(c_TimerNewCallback* owner, c_String name);
    virtual ~c_TimerNew();
    c_TimerNew(const c_TimerNew&) = delete;
    c_TimerNew& operator=(const c_TimerNew&) = delete;

    // Intervals below 10 ms run as 10 ms. repeatCount: 0 (or below) until stopped, N > 0 that many
    // events, 1 a single shot. A restart counts afresh and the next event comes a full interval on.
    // adaptive stretches the interval to the last callback's duration times factor (1.5 unless
    // above 0), up to maxIntervalMs (1000 unless set), for a timer that skips while pending.
    virtual void Start(std::uint32_t intervalMs, std::int32_t repeatCount, bool doNotRestartIfRunning,
                       bool adaptive = false, double factor = 0, std::uint64_t maxIntervalMs = 0);
    void Stop();
    // Called by the service on the bound thread. The last repetition marks the timer stopped before
    // the owner is called, so the owner may start it again.
    virtual void OnTimerEvent(bool lastRepetition);

    // A timer that skips while pending posts no event while the one before is unprocessed.
    void SetSkipWhilePending(bool skip) { m_SkipWhilePending = skip; }

    const c_String& GetName() const { return m_Name; }
    std::uint32_t GetId() const { return m_Id; }
    bool IsRunning() const { return m_Running.load(std::memory_order_acquire); }
    std::uint32_t GetInterval() const { return m_Interval.load(std::memory_order_acquire); }

private:
    c_TimerNewCallback* m_p_Owner;
    c_String m_Name;
    const std::uint32_t m_Id;
    bool m_SkipWhilePending = false;
    // Read from other threads (Start and Stop from them, IsRunning).
    std::atomic<bool> m_Running{false};
    std::atomic<std::uint32_t> m_Interval{0};
    c_TimerWindowRef m_WindowRef;
};
