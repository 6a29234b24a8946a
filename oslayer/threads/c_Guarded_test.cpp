// Tests of c_Guarded and c_GuardedAccess.

#include "oslayer/threads/c_Guarded.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(c_Guarded, AccessHoldsTheSectionWhileTheValueIsUsed) {
    c_Guarded<std::vector<int>> guarded;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 5000; ++i) {
                guarded.Access()->push_back(i);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(guarded.Access()->size(), 20000u);
}

TEST(c_Guarded, LockMovesTheCallersGuardOntoTheValuesSection) {
    c_Guarded<int> guarded(7);
    c_CriticalSection other;
    c_CriticalSectionLock guard(other);
    int* value = guarded.Lock(guard);
    EXPECT_EQ(*value, 7);
    EXPECT_EQ(other.GetLockCount(), 0);
    EXPECT_NE(guard.GetHeld(), &other);
    guard.Relock();
    EXPECT_EQ(guard.GetHeld(), &other);
}

} // namespace
