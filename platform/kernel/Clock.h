#pragma once
// The layer's monotonic clock, and timed sleeps on a futex word that follow it.
//
// The tick count, the performance counter, Sleep and every timed wait read this one clock. Tests can
// switch it to a manual clock (platform/testing/TestClock.h) that moves only when told, so timed
// behaviour is tested without sleeping. The calendar clock (the system time) is never affected.

#include <atomic>
#include <cstdint>

namespace n_Platform {

constexpr std::int64_t NO_DEADLINE = INT64_MAX;

// A sleeper's word holds this once the test clock has passed its deadline: its owner must read it as
// "not satisfied". Any other non-zero value is the owner's own wake-up.
constexpr std::uint32_t SLEEP_TIMED_OUT = 0xFFFFFFFFu;

// Nanoseconds since an arbitrary start; never goes backwards, not even across a switch of clocks.
std::int64_t ReadClockNanoseconds();

// The clock reading milliseconds from now; INFINITE (0xFFFFFFFF) gives NO_DEADLINE.
std::int64_t DeadlineAfterMilliseconds(std::uint32_t milliseconds);

// Sleeps while word holds 0, until the clock reaches deadline. True when the word changed (it may
// hold SLEEP_TIMED_OUT on the test clock), false when the time ran out first.
bool SleepOnWord(std::atomic<std::uint32_t>& word, std::int64_t deadline);

// The test clock: a manual clock that moves only by AdvanceClock (see platform/testing/TestClock.h).
void UseTestClock();
void UseRealClock();
bool IsTestClockInUse();

// Moves the test clock forward and wakes every timed sleeper whose deadline it passed.
void AdvanceClock(std::uint64_t milliseconds);

// How many threads sleep now with a deadline on the test clock.
std::uint32_t CountTimedSleepers();

// Waits (on real time, at most 30 s) until exactly count threads sleep with a deadline: the way a
// test knows that the threads woken by AdvanceClock have done their work and gone back to sleep.
bool WaitForTimedSleepers(std::uint32_t count);

// Called after every move of the test clock, for sleepers that wait in something other than
// SleepOnWord (a reactor's poll) and must look at the clock again.
using t_ClockMovedHook = void (*)();
void AddClockMovedHook(t_ClockMovedHook hook);

} // namespace n_Platform
