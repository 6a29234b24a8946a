// Tests of the layer's clock: the test clock, timed sleeps that follow it, and the switch back.

#include "platform/testing/TestClock.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using n_Platform::AdvanceClock;
using n_Platform::WaitForTimedSleepers;

TEST(TestClock, MovesOnlyWhenAdvancedAndAllClocksFollow) {
    n_Platform::c_TestClock clock;
    const ULONGLONG ticks = GetTickCount64();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    EXPECT_EQ(GetTickCount64(), ticks);
    AdvanceClock(1234);
    EXPECT_EQ(GetTickCount64(), ticks + 1234);
    LARGE_INTEGER later;
    QueryPerformanceCounter(&later);
    EXPECT_EQ(later.QuadPart - counter.QuadPart, 12340000);
}

TEST(TestClock, NeverGoesBackAcrossSwitches) {
    const ULONGLONG real = GetTickCount64();
    ULONGLONG inTest = 0;
    {
        n_Platform::c_TestClock clock;
        EXPECT_GE(GetTickCount64(), real);
        AdvanceClock(60000);
        inTest = GetTickCount64();
    }
    EXPECT_GE(GetTickCount64(), inTest);
}

// Each row: a thread waits with a time-out of 50 on the test clock; it stays asleep one tick before
// its deadline and wakes at it.
TEST(TestClock, TimedWaitsEndExactlyAtTheirDeadline) {
    struct s_Case {
        const char* m_p_Name;
        DWORD (*m_Wait)(HANDLE);
        DWORD m_Expected;
    };
    const s_Case cases[] = {
        {"Sleep",
         [](HANDLE) -> DWORD {
             Sleep(50);
             return WAIT_TIMEOUT;
         },
         WAIT_TIMEOUT},
        {"WaitForSingleObject", [](HANDLE event) { return WaitForSingleObject(event, 50); }, WAIT_TIMEOUT},
        {"WaitForMultipleObjects",
         [](HANDLE event) {
             const HANDLE both[] = {event, event};
             return WaitForMultipleObjects(2, both, FALSE, 50);
         },
         WAIT_TIMEOUT},
        {"MsgWaitForMultipleObjectsEx",
         [](HANDLE event) { return MsgWaitForMultipleObjectsEx(1, &event, 50, QS_ALLINPUT, 0); }, WAIT_TIMEOUT},
    };
    for (const s_Case& row : cases) {
        n_Platform::c_TestClock clock;
        const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::atomic<DWORD> result{0xDEAD};
        std::thread waiter([&] { result = row.m_Wait(event); });
        ASSERT_TRUE(WaitForTimedSleepers(1)) << row.m_p_Name;
        AdvanceClock(49);
        EXPECT_TRUE(WaitForTimedSleepers(1)) << row.m_p_Name;
        EXPECT_EQ(result, 0xDEADu) << row.m_p_Name;
        AdvanceClock(1);
        waiter.join();
        EXPECT_EQ(result, row.m_Expected) << row.m_p_Name;
        EXPECT_EQ(n_Platform::CountTimedSleepers(), 0u) << row.m_p_Name;
        CloseHandle(event);
    }
}

TEST(TestClock, ASignalBeforeTheDeadlineWins) {
    n_Platform::c_TestClock clock;
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<DWORD> result{0xDEAD};
    std::thread waiter([&] { result = WaitForSingleObject(event, 1000); });
    ASSERT_TRUE(WaitForTimedSleepers(1));
    AdvanceClock(999);
    SetEvent(event);
    waiter.join();
    EXPECT_EQ(result, WAIT_OBJECT_0);
    EXPECT_EQ(n_Platform::CountTimedSleepers(), 0u);
    CloseHandle(event);
}

TEST(TestClock, ASleeperLeftWhenTheTestEndsGoesOnOnTheRealClock) {
    std::atomic<DWORD> result{0xDEAD};
    std::thread waiter;
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        n_Platform::c_TestClock clock;
        waiter = std::thread([&] { result = WaitForSingleObject(event, 20); });
        ASSERT_TRUE(WaitForTimedSleepers(1));
    }
    waiter.join();
    EXPECT_EQ(result, WAIT_TIMEOUT);
    CloseHandle(event);
}

} // namespace
