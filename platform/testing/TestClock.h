#pragma once
// The test clock: a manual clock for the tick count, the performance counter, Sleep and every timed
// wait of the layer, moved only by AdvanceClock.
//
// Switch to it before anything sleeps with a time-out (at the start of a test), and back at the end.

#include <cstdint>

namespace n_Platform {

void UseTestClock();
void UseRealClock();
bool IsTestClockInUse();

// Moves the test clock forward and wakes every timed sleeper whose deadline it passed.
void AdvanceClock(std::uint64_t milliseconds);

// How many threads sleep now with a deadline on the test clock.
std::uint32_t CountTimedSleepers();

// Waits (on real time, at most 10 s) until exactly count threads sleep with a deadline: the way a
// test knows that the threads woken by AdvanceClock have done their work and gone back to sleep.
bool WaitForTimedSleepers(std::uint32_t count);

// Uses the test clock for its lifetime.
class c_TestClock {
public:
    c_TestClock() { UseTestClock(); }
    ~c_TestClock() { UseRealClock(); }
    c_TestClock(const c_TestClock&) = delete;
    c_TestClock& operator=(const c_TestClock&) = delete;

    void Advance(std::uint64_t milliseconds) { AdvanceClock(milliseconds); }
};

} // namespace n_Platform
