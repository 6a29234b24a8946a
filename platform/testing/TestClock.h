#pragma once
// The test clock: a manual clock for the tick count, the performance counter, Sleep and every timed
// wait of the layer, moved only by AdvanceClock.
//
// Switch to it before anything sleeps with a time-out (at the start of a test), and back at the end;
// the calls are in platform/kernel/Clock.h.

#include "platform/kernel/Clock.h"

#include <algorithm>
#include <functional>

namespace n_Platform {

// Uses the test clock for its lifetime.
class c_TestClock {
public:
    c_TestClock() { UseTestClock(); }
    ~c_TestClock() { UseRealClock(); }
    c_TestClock(const c_TestClock&) = delete;
    c_TestClock& operator=(const c_TestClock&) = delete;

    void Advance(std::uint64_t milliseconds) { AdvanceClock(milliseconds); }
    // Moves the clock in steps, waiting after each until the threads it woke sleep again, then runs
    // afterStep (say, pumping the caller's messages). False when the sleepers did not come back.
    bool AdvanceInSteps(std::uint64_t milliseconds, std::uint64_t step, const std::function<void()>& afterStep) {
        const std::uint32_t sleepers = CountTimedSleepers();
        for (std::uint64_t done = 0; done < milliseconds; done += step) {
            AdvanceClock(std::min(step, milliseconds - done));
            if (!WaitForTimedSleepers(sleepers)) {
                return false;
            }
            afterStep();
        }
        return true;
    }
};

} // namespace n_Platform
