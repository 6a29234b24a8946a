// The layer's clock: the boot-time clock, or a manual one for tests; timed sleeps that follow it.

#include "platform/kernel/Clock.h"

#include "platform/kernel/Futex.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <vector>

namespace n_Platform {

namespace {

constexpr std::int64_t NANOSECONDS_PER_MILLISECOND = 1000000;
constexpr std::int64_t NANOSECONDS_PER_SECOND = 1000000000;
// A sleeper on the test clock looks again this often (real time), so a switch back to the real clock
// never leaves it asleep.
constexpr std::int64_t TEST_SLEEPER_RECHECK = 100 * NANOSECONDS_PER_MILLISECOND;

struct s_Sleeper {
    std::atomic<std::uint32_t>* m_p_Word;
    std::int64_t m_Deadline;
};

struct s_ClockState {
    std::mutex m_Lock;
    std::condition_variable m_SleepersChanged;
    std::atomic<bool> m_TestClock{false};
    // Real clock: the boot-time clock plus this offset, so leaving the test clock never goes back.
    std::atomic<std::int64_t> m_Offset{0};
    std::atomic<std::int64_t> m_Manual{0};
    std::vector<s_Sleeper*> m_Sleepers;
    std::vector<t_ClockMovedHook> m_MovedHooks;
};

s_ClockState& GetState() {
    static s_ClockState* state = new s_ClockState;
    return *state;
}

std::int64_t ReadBootTime() {
    timespec now;
    clock_gettime(CLOCK_BOOTTIME, &now);
    return std::int64_t(now.tv_sec) * NANOSECONDS_PER_SECOND + now.tv_nsec;
}

timespec ToTimespec(std::int64_t nanoseconds) {
    return {static_cast<time_t>(nanoseconds / NANOSECONDS_PER_SECOND),
            static_cast<long>(nanoseconds % NANOSECONDS_PER_SECOND)};
}

// Under the state's lock.
void RemoveSleeper(s_ClockState& state, s_Sleeper* sleeper) {
    const auto found = std::find(state.m_Sleepers.begin(), state.m_Sleepers.end(), sleeper);
    if (found != state.m_Sleepers.end()) {
        state.m_Sleepers.erase(found);
        state.m_SleepersChanged.notify_all();
    }
}

bool SleepOnRealClock(std::atomic<std::uint32_t>& word, std::int64_t deadline) {
    while (word.load(std::memory_order_acquire) == 0) {
        if (deadline == NO_DEADLINE) {
            FutexWait(&word, 0, nullptr);
            continue;
        }
        const std::int64_t left = deadline - ReadClockNanoseconds();
        if (left <= 0) {
            return false;
        }
        const timespec timeout = ToTimespec(left);
        FutexWait(&word, 0, &timeout);
    }
    return true;
}

// The sleeper is listed while it sleeps; AdvanceClock unlists it and stores SLEEP_TIMED_OUT into its
// word once its deadline has passed, so a wake-up between the check and the sleep is never lost.
bool SleepOnTestClock(s_ClockState& state, std::atomic<std::uint32_t>& word, std::int64_t deadline) {
    s_Sleeper sleeper{&word, deadline};
    std::unique_lock<std::mutex> lock(state.m_Lock);
    if (state.m_Manual.load() >= deadline) {
        return word.load(std::memory_order_acquire) != 0;
    }
    state.m_Sleepers.push_back(&sleeper);
    state.m_SleepersChanged.notify_all();
    while (word.load(std::memory_order_acquire) == 0 && state.m_TestClock.load()) {
        lock.unlock();
        const timespec recheck = ToTimespec(TEST_SLEEPER_RECHECK);
        FutexWait(&word, 0, &recheck);
        lock.lock();
    }
    RemoveSleeper(state, &sleeper);
    const bool stillTesting = state.m_TestClock.load();
    lock.unlock();
    if (!stillTesting) {
        return SleepOnRealClock(word, deadline);
    }
    return word.load(std::memory_order_acquire) != SLEEP_TIMED_OUT;
}

} // namespace

std::int64_t ReadClockNanoseconds() {
    s_ClockState& state = GetState();
    if (state.m_TestClock.load(std::memory_order_acquire)) {
        return state.m_Manual.load(std::memory_order_acquire);
    }
    return ReadBootTime() + state.m_Offset.load(std::memory_order_relaxed);
}

std::int64_t DeadlineAfterMilliseconds(std::uint32_t milliseconds) {
    if (milliseconds == 0xFFFFFFFFu) {
        return NO_DEADLINE;
    }
    return ReadClockNanoseconds() + std::int64_t(milliseconds) * NANOSECONDS_PER_MILLISECOND;
}

bool SleepOnWord(std::atomic<std::uint32_t>& word, std::int64_t deadline) {
    s_ClockState& state = GetState();
    if (deadline == NO_DEADLINE || !state.m_TestClock.load(std::memory_order_acquire)) {
        return SleepOnRealClock(word, deadline);
    }
    return SleepOnTestClock(state, word, deadline);
}

void UseTestClock() {
    s_ClockState& state = GetState();
    std::lock_guard<std::mutex> lock(state.m_Lock);
    if (!state.m_TestClock.load()) {
        state.m_Manual.store(ReadBootTime() + state.m_Offset.load());
        state.m_TestClock.store(true, std::memory_order_release);
    }
}

void UseRealClock() {
    s_ClockState& state = GetState();
    std::lock_guard<std::mutex> lock(state.m_Lock);
    if (state.m_TestClock.load()) {
        state.m_Offset.store(state.m_Manual.load() - ReadBootTime());
        state.m_TestClock.store(false, std::memory_order_release);
    }
}

bool IsTestClockInUse() {
    return GetState().m_TestClock.load(std::memory_order_acquire);
}

void AddClockMovedHook(t_ClockMovedHook hook) {
    s_ClockState& state = GetState();
    std::lock_guard<std::mutex> lock(state.m_Lock);
    state.m_MovedHooks.push_back(hook);
}

void AdvanceClock(std::uint64_t milliseconds) {
    s_ClockState& state = GetState();
    std::unique_lock<std::mutex> lock(state.m_Lock);
    const std::int64_t now = state.m_Manual.load() + std::int64_t(milliseconds) * NANOSECONDS_PER_MILLISECOND;
    state.m_Manual.store(now, std::memory_order_release);
    std::erase_if(state.m_Sleepers, [now](s_Sleeper* sleeper) {
        if (sleeper->m_Deadline > now) {
            return false;
        }
        std::uint32_t expected = 0;
        sleeper->m_p_Word->compare_exchange_strong(expected, SLEEP_TIMED_OUT, std::memory_order_acq_rel);
        FutexWakeAll(sleeper->m_p_Word);
        return true;
    });
    state.m_SleepersChanged.notify_all();
    const std::vector<t_ClockMovedHook> hooks = state.m_MovedHooks;
    lock.unlock();
    for (t_ClockMovedHook hook : hooks) {
        hook();
    }
}

std::uint32_t CountTimedSleepers() {
    s_ClockState& state = GetState();
    std::lock_guard<std::mutex> lock(state.m_Lock);
    return static_cast<std::uint32_t>(state.m_Sleepers.size());
}

bool WaitForTimedSleepers(std::uint32_t count) {
    s_ClockState& state = GetState();
    std::unique_lock<std::mutex> lock(state.m_Lock);
    return state.m_SleepersChanged.wait_for(lock, std::chrono::seconds(30),
                                            [&] { return state.m_Sleepers.size() == count; });
}

} // namespace n_Platform
