#pragma once
// c_TimerCore: the timer service, process-wide state without instances.
//
// One polling thread, "c_TimerCore::c_TimerThread", wakes every 10 ms and posts WM_TIMER (wParam =
// the timer id) to the hidden "RIZozorUzuZaravozoDavova" window of each due timer's thread. That
// thread's message loop hands it to TimerWindowProc, which calls the timer's owner; so callbacks run
// on the thread that started the timer and the owner needs no locking.
//
// State: 0 stopped, 1 starting, 2 running, 3 stopping. Two registries, each under its own lock:
// the window registry (lock A: thread id to that thread's window and its reference count) and the
// timer registry (lock B: the polling thread's copy of every entry). Each thread keeps its own table
// of its timers' entries, touched by that thread only. No path holds lock A and lock B together;
// the polling thread posts while holding lock B; no lock is held while an owner is called.

#include "oslayer/threads/c_TimerWindowRef.h"

#include <cstdint>

class c_TimerNew;

// One timer's entry; the polling thread and the owning thread each keep a copy and count apart.
struct s_TimerEntry {
    c_TimerNew* m_p_Timer;
    HWND m_Window;
    std::uint32_t m_Interval;
    // Repetitions left; 0 with m_Unlimited.
    std::int32_t m_Remaining;
    // GetTickCount64 values: of the last post (polling copy) and the last processed event (owner's).
    std::uint64_t m_LastPostTick;
    std::uint64_t m_LastProcessedTick;
    // Milliseconds the owner's last processing took.
    std::uint64_t m_LastDuration;
    bool m_Unlimited;
    bool m_SkipWhilePending;
    // Polling copy: a posted WM_TIMER is not processed yet.
    bool m_Pending;
    bool m_Adaptive;
    double m_Factor;
    std::uint64_t m_MaxInterval;
};

// With adaptive and skip-while-pending both set: max(interval, min(maximum, last duration x
// factor)); otherwise the interval.
std::uint64_t GetEffectiveInterval(const s_TimerEntry& entry);

class c_TimerCore {
public:
    enum e_State : std::int32_t { STOPPED = 0, STARTING = 1, RUNNING = 2, STOPPING = 3 };

    static constexpr const char* WINDOW_CLASS_NAME = "RIZozorUzuZaravozoDavova";

    class c_TimerThread;

    c_TimerCore() = delete;

    // Starts the service when stopped; true when it runs, by this call or before. False, with one
    // line on standard error each, when the window class or the polling thread cannot be started;
    // the service still counts as running then, and its timers never fire.
    static bool Start();
    // When starting or running: stops every timer, ends the polling thread, dispatches the timer
    // messages still queued for the calling thread (no callback runs any more) and unregisters the
    // class.
    static void Stop();
    static std::int32_t GetState();

    // The calling thread's window, made when missing, with one reference; empty unless running.
    static c_TimerWindowRef AcquireThreadWindow();
    // Gives back one reference; at 0 the window goes: destroyed on its own thread, asked to close
    // itself from any other.
    static void ReleaseThreadWindow(std::uint32_t threadId, HWND window);
    static void AddWindowReference(std::uint32_t threadId, HWND window);

    // Only while running: inserts or replaces the entry in the timer registry and in the calling
    // thread's table. False when memory ran out (nothing registered).
    static bool AddTimer(std::uint32_t id, const s_TimerEntry& entry);
    static void RemoveTimer(std::uint32_t id);
    // Empties the timer registry, then stops every timer that was in it.
    static void RemoveAllTimers();
    static s_TimerEntry* FindThreadTimer(std::uint32_t id);
    static void RemoveThreadTimer(std::uint32_t id);
    // One WM_TIMER on the owning thread.
    static void OnTimerMessage(std::uint32_t id);
    // One pass of the polling thread.
    static void PostDueTimers(std::uint64_t now);
};
