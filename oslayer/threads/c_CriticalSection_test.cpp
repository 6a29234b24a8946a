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
    std::atomic<bool> entered{false};
    std::thread waiter([&] {
        section.Enter();
        entered = true;
        section.Leave();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(entered);
    section.Leave();
    waiter.join();
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
