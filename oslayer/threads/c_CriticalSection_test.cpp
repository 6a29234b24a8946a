// Tests of c_CriticalSection: the count rule, recursion and exclusion.

#include "oslayer/threads/c_CriticalSection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

TEST(c_CriticalSection, CountsEntriesAndIgnoresStrayLeaves) {
    c_CriticalSection section;
    section.Leave();
    EXPECT_EQ(section.GetLockCount(), 0);
    section.Enter();
    section.Enter();
    EXPECT_EQ(section.GetLockCount(), 2);
    section.Leave();
    EXPECT_EQ(section.GetLockCount(), 1);
    section.Leave();
    section.Leave();
    EXPECT_EQ(section.GetLockCount(), 0);
    bool entered = false;
    std::thread other([&] {
        section.Enter();
        entered = true;
        section.Leave();
    });
    other.join();
    EXPECT_TRUE(entered);
}

TEST(c_CriticalSection, IgnoresALeaveByAThreadThatDoesNotHoldIt) {
    c_CriticalSection section;
    section.Enter();
    std::thread stranger([&] { section.Leave(); });
    stranger.join();
    EXPECT_EQ(section.GetLockCount(), 1);
    // The waiter gets in only after the holder has left.
    std::atomic<bool> holderLeft{false};
    std::atomic<bool> enteredWhileHeld{false};
    std::atomic<bool> entered{false};
    std::thread waiter([&] {
        section.Enter();
        enteredWhileHeld = !holderLeft;
        entered = true;
        section.Leave();
    });
    holderLeft = true;
    section.Leave();
    waiter.join();
    EXPECT_FALSE(enteredWhileHeld);
    EXPECT_TRUE(entered);
}

TEST(c_CriticalSection, KeepsOutOtherThreads) {
    c_CriticalSection section;
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                section.Enter();
                section.Enter();
                ++counter;
                section.Leave();
                section.Leave();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(counter, 80000);
}

} // namespace
