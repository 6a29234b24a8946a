// c_TimerCore: the service's state, the polling thread, the two registries, each thread's table and
// the procedure of the timer windows.

#include "oslayer/threads/c_TimerCore.h"

#include "oslayer/system/ErrorText.h"
#include "oslayer/system/c_MemoryAllocator.h"
#include "oslayer/threads/c_Guarded.h"
#include "oslayer/threads/c_ThreadWrapper.h"
#include "oslayer/threads/c_TimerNew.h"
#include "oslayer/windows/c_WindowClass.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <new>
#include <optional>
#include <unordered_map>

namespace {

constexpr std::uint32_t POLL_INTERVAL_MS = 10;

struct s_ThreadWindow {
    HWND m_Window = nullptr;
    std::uint64_t m_References = 0;
};

template <typename Value>
using t_IdMap = std::unordered_map<std::uint32_t, Value, std::hash<std::uint32_t>, std::equal_to<std::uint32_t>,
                                   c_MemoryAllocator<std::pair<const std::uint32_t, Value>>>;

LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            c_TimerCore::OnTimerMessage(static_cast<std::uint32_t>(wParam));
            return 0;
        case WM_USER:
            c_TimerCore::RemoveThreadTimer(static_cast<std::uint32_t>(wParam));
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

class c_TimerCore::c_TimerThread : public c_ThreadWrapper {
public:
    c_TimerThread() : c_ThreadWrapper("c_TimerCore::c_TimerThread") {}
    ~c_TimerThread() override { WaitForThreadToFinish(); }

protected:
    // The wait for the end event is the 10 ms sleep, so a stop ends the thread at once.
    void ThreadFunction() override {
        while (!WaitForEndEvent(POLL_INTERVAL_MS)) {
            c_TimerCore::PostDueTimers(GetTickCount64());
        }
    }
};

namespace {

// Destroyed at exit in the reverse order: a polling thread still held is finished first, the class
// is unregistered last.
struct s_TimerService {
    std::atomic<std::int32_t> m_State{c_TimerCore::STOPPED};
    c_WindowClass m_Class;
    // Lock A.
    c_Guarded<t_IdMap<s_ThreadWindow>> m_Windows;
    // Lock B.
    c_Guarded<t_IdMap<s_TimerEntry>> m_Timers;
    std::optional<c_TimerCore::c_TimerThread> m_Thread;
};

s_TimerService& GetService() {
    static s_TimerService service;
    return service;
}

// The calling thread's own table; freed when the thread ends.
thread_local t_IdMap<s_TimerEntry> t_ThreadTimers;

// Log lines are dropped at start-up, so a failed start is told on standard error.
void ReportStartFailure(const c_StringView& what) {
    const c_String line =
        Concat({"c_TimerCore::Start: ", what, "  ", n_OSLayer::GetWindowsErrorText(::GetLastError())});
    std::fprintf(stderr, "%s\n", line.GetChars());
}

bool IsOneOf(std::int32_t state, std::int32_t first, std::int32_t second) {
    return state == first || state == second;
}

// On the calling thread: the timer events still queued for its window, which call no owner now.
void DispatchQueuedTimerMessages() {
    HWND window = nullptr;
    {
        c_GuardedAccess<t_IdMap<s_ThreadWindow>> windows = GetService().m_Windows.Access();
        const auto found = windows->find(GetCurrentThreadId());
        if (found != windows->end()) {
            window = found->second.m_Window;
        }
    }
    MSG message;
    while (window != nullptr && PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

std::uint64_t GetEffectiveInterval(const s_TimerEntry& entry) {
    if (!entry.m_Adaptive || !entry.m_SkipWhilePending) {
        return entry.m_Interval;
    }
    const auto stretched = static_cast<std::uint64_t>(static_cast<double>(entry.m_LastDuration) * entry.m_Factor);
    return std::max<std::uint64_t>(entry.m_Interval, std::min(entry.m_MaxInterval, stretched));
}

bool c_TimerCore::Start() {
    s_TimerService& service = GetService();
    std::int32_t state = STOPPED;
    if (!service.m_State.compare_exchange_strong(state, STARTING)) {
        return IsOneOf(state, STARTING, RUNNING);
    }
    bool started = true;
    try {
        if (!service.m_Class.Register(WINDOW_CLASS_NAME, GetModuleHandleW(nullptr), TimerWindowProc)) {
            ReportStartFailure(Concat({"Error registering the window class ", WINDOW_CLASS_NAME, "."}));
            started = false;
        }
        service.m_Thread.reset();
        service.m_Thread.emplace();
        c_String error;
        if (!service.m_Thread->StartThread(&error)) {
            ReportStartFailure(Concat({"Error starting the timer thread: ", error}));
            started = false;
        }
    } catch (const std::bad_alloc&) {
        Stop();
        return false;
    }
    service.m_State.store(RUNNING);
    return started;
}

void c_TimerCore::Stop() {
    s_TimerService& service = GetService();
    std::int32_t state = RUNNING;
    if (!service.m_State.compare_exchange_strong(state, STOPPING)) {
        state = STARTING;
        if (!service.m_State.compare_exchange_strong(state, STOPPING)) {
            return;
        }
    }
    RemoveAllTimers();
    if (service.m_Thread.has_value()) {
        service.m_Thread->WaitForThreadToFinish();
        service.m_Thread.reset();
    }
    DispatchQueuedTimerMessages();
    service.m_Class.Unregister();
    service.m_State.store(STOPPED);
}

std::int32_t c_TimerCore::GetState() {
    return GetService().m_State.load();
}

c_TimerWindowRef c_TimerCore::AcquireThreadWindow() {
    s_TimerService& service = GetService();
    if (service.m_State.load() != RUNNING) {
        return c_TimerWindowRef();
    }
    const std::uint32_t threadId = GetCurrentThreadId();
    HWND window = nullptr;
    try {
        c_GuardedAccess<t_IdMap<s_ThreadWindow>> windows = service.m_Windows.Access();
        s_ThreadWindow& record = (*windows)[threadId];
        if (record.m_Window == nullptr) {
            record.m_Window = service.m_Class.CreateWindow(c_StringView(), WS_DISABLED);
        }
        window = record.m_Window;
    } catch (const std::bad_alloc&) {
        return c_TimerWindowRef();
    }
    return c_TimerWindowRef(threadId, window);
}

void c_TimerCore::AddWindowReference(std::uint32_t threadId, HWND window) {
    s_TimerService& service = GetService();
    if (service.m_State.load() != RUNNING) {
        return;
    }
    c_GuardedAccess<t_IdMap<s_ThreadWindow>> windows = service.m_Windows.Access();
    const auto found = windows->find(threadId);
    if (found != windows->end() && found->second.m_Window == window) {
        ++found->second.m_References;
    }
}

void c_TimerCore::ReleaseThreadWindow(std::uint32_t threadId, HWND window) {
    s_TimerService& service = GetService();
    if (!IsOneOf(service.m_State.load(), RUNNING, STOPPING)) {
        return;
    }
    {
        c_GuardedAccess<t_IdMap<s_ThreadWindow>> windows = service.m_Windows.Access();
        const auto found = windows->find(threadId);
        if (found == windows->end() || found->second.m_Window != window || found->second.m_References == 0 ||
            --found->second.m_References != 0) {
            return;
        }
        windows->erase(found);
    }
    // Only its own thread can destroy a window; from elsewhere it is asked to close itself, after
    // the messages already queued for it.
    if (threadId == GetCurrentThreadId()) {
        DestroyWindow(window);
    } else {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
}

bool c_TimerCore::AddTimer(std::uint32_t id, const s_TimerEntry& entry) {
    s_TimerService& service = GetService();
    if (service.m_State.load() != RUNNING) {
        return true;
    }
    try {
        service.m_Timers.Access()->insert_or_assign(id, entry);
        t_ThreadTimers.insert_or_assign(id, entry);
    } catch (const std::bad_alloc&) {
        RemoveTimer(id);
        return false;
    }
    return true;
}

void c_TimerCore::RemoveTimer(std::uint32_t id) {
    GetService().m_Timers.Access()->erase(id);
}

void c_TimerCore::RemoveAllTimers() {
    t_IdMap<s_TimerEntry> removed;
    removed.swap(*GetService().m_Timers.Access());
    for (const auto& [id, entry] : removed) {
        entry.m_p_Timer->Stop();
    }
}

s_TimerEntry* c_TimerCore::FindThreadTimer(std::uint32_t id) {
    const auto found = t_ThreadTimers.find(id);
    return found == t_ThreadTimers.end() ? nullptr : &found->second;
}

void c_TimerCore::RemoveThreadTimer(std::uint32_t id) {
    t_ThreadTimers.erase(id);
}

void c_TimerCore::OnTimerMessage(std::uint32_t id) {
    const std::uint64_t start = GetTickCount64();
    bool fired = false;
    if (s_TimerEntry* entry = FindThreadTimer(id)) {
        if (entry->m_Remaining != 0) {
            --entry->m_Remaining;
        }
        const bool skipped = entry->m_Unlimited && entry->m_SkipWhilePending &&
                             start - entry->m_LastProcessedTick < GetEffectiveInterval(*entry);
        const bool lastRepetition = !entry->m_Unlimited && entry->m_Remaining == 0;
        if (!skipped) {
            if (GetState() == RUNNING) {
                entry->m_p_Timer->OnTimerEvent(lastRepetition);
            }
            // Looked up again: the owner may have restarted or destroyed the timer meanwhile.
            const s_TimerEntry* after = lastRepetition ? FindThreadTimer(id) : nullptr;
            if (after != nullptr && !after->m_Unlimited && after->m_Remaining == 0) {
                after->m_p_Timer->Stop();
            }
            fired = true;
        }
    }
    std::uint64_t duration = 0;
    s_TimerEntry* entry = fired ? FindThreadTimer(id) : nullptr;
    if (entry != nullptr) {
        const std::uint64_t now = GetTickCount64();
        entry->m_LastProcessedTick = now;
        duration = now - start;
        entry->m_LastDuration = duration;
    }
    c_GuardedAccess<t_IdMap<s_TimerEntry>> timers = GetService().m_Timers.Access();
    const auto found = timers->find(id);
    if (found != timers->end()) {
        found->second.m_Pending = false;
        found->second.m_LastDuration = duration;
    }
}

void c_TimerCore::PostDueTimers(std::uint64_t now) {
    c_GuardedAccess<t_IdMap<s_TimerEntry>> timers = GetService().m_Timers.Access();
    for (auto& [id, entry] : *timers) {
        // A timer whose thread got no window reaches no other window or thread.
        if (entry.m_Window == nullptr || now < entry.m_LastPostTick ||
            now - entry.m_LastPostTick < GetEffectiveInterval(entry)) {
            continue;
        }
        entry.m_LastPostTick = now;
        if (entry.m_Remaining != 0) {
            --entry.m_Remaining;
        }
        if (entry.m_Pending) {
            continue;
        }
        const bool posted = PostMessageW(entry.m_Window, WM_TIMER, id, 0) != FALSE;
        if (entry.m_SkipWhilePending) {
            entry.m_Pending = posted;
        }
    }
    std::erase_if(*timers, [](const auto& item) { return !item.second.m_Unlimited && item.second.m_Remaining == 0; });
}
