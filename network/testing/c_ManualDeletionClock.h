#pragma once
// Test helper: the delayed deletion's clock, moved only by the test, for the helper's lifetime.

#include "network/DeletionClock.h"

#include <atomic>
#include <cstdint>

class c_ManualDeletionClock {
public:
    static constexpr std::int64_t START = 45000LL * 86400000000LL;

    c_ManualDeletionClock() {
        s_Now.store(START);
        SetDeletionClock(&Read);
    }
    ~c_ManualDeletionClock() { SetDeletionClock(nullptr); }
    c_ManualDeletionClock(const c_ManualDeletionClock&) = delete;
    c_ManualDeletionClock& operator=(const c_ManualDeletionClock&) = delete;

    // Forward, or back with a negative count.
    void Move(std::int64_t microseconds) { s_Now.fetch_add(microseconds); }

private:
    static std::int64_t Read() { return s_Now.load(); }

    static inline std::atomic<std::int64_t> s_Now{START};
};
