// Tests of events, handles and the wait functions.

#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestClock.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using t_Clock = std::chrono::steady_clock;

constexpr auto PROMPTLY = std::chrono::milliseconds(n_Platform::PROMPTLY_MS);

class c_Events {
public:
    c_Events(int count, bool manualReset) {
        for (int i = 0; i < count; ++i) {
            m_Handles.push_back(CreateEventW(nullptr, manualReset, FALSE, nullptr));
        }
    }
    ~c_Events() {
        for (HANDLE handle : m_Handles) {
            CloseHandle(handle);
        }
    }
    HANDLE operator[](int index) const { return m_Handles[static_cast<std::size_t>(index)]; }
    const HANDLE* GetData() const { return m_Handles.data(); }
    DWORD GetCount() const { return static_cast<DWORD>(m_Handles.size()); }

private:
    std::vector<HANDLE> m_Handles;
};

TEST(Events, AutoResetWakesExactlyOneOfTwoWaiters) {
    c_Events event(1, false);
    std::atomic<int> woken{0};
    auto waiter = [&] {
        if (WaitForSingleObject(event[0], 10000) == WAIT_OBJECT_0) {
            ++woken;
        }
    };
    n_Platform::c_TestClock clock;
    std::thread first(waiter);
    std::thread second(waiter);
    ASSERT_TRUE(n_Platform::WaitForTimedSleepers(2));
    ASSERT_TRUE(SetEvent(event[0]));
    ASSERT_TRUE(n_Platform::WaitUntil([&] { return woken == 1; }));
    EXPECT_TRUE(n_Platform::WaitForTimedSleepers(1)) << "the other one sleeps on";
    EXPECT_EQ(woken, 1);
    EXPECT_EQ(WaitForSingleObject(event[0], 0), WAIT_TIMEOUT);
    ASSERT_TRUE(SetEvent(event[0]));
    first.join();
    second.join();
    EXPECT_EQ(woken, 2);
}

TEST(Events, ManualResetWakesEveryWaiterAndStaysSet) {
    c_Events event(1, true);
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i) {
        waiters.emplace_back([&] { woken += WaitForSingleObject(event[0], 10000) == WAIT_OBJECT_0; });
    }
    ASSERT_TRUE(SetEvent(event[0]));
    for (std::thread& waiter : waiters) {
        waiter.join();
    }
    EXPECT_EQ(woken, 3);
    EXPECT_EQ(WaitForSingleObject(event[0], 0), WAIT_OBJECT_0);
    ASSERT_TRUE(ResetEvent(event[0]));
    EXPECT_EQ(WaitForSingleObject(event[0], 0), WAIT_TIMEOUT);
}

struct s_WaitAnyCase {
    const char* m_Name;
    int m_Count;
    std::vector<int> m_Signaled;
    DWORD m_Expected;
};

TEST(WaitForMultipleObjects, WaitAnyReportsTheLowestSignaledIndex) {
    const s_WaitAnyCase cases[] = {
        {"first of one", 1, {0}, WAIT_OBJECT_0},
        {"two signalled", 8, {5, 2}, WAIT_OBJECT_0 + 2},
        {"last of 64", 64, {63}, WAIT_OBJECT_0 + 63},
        {"first and last of 64", 64, {63, 0}, WAIT_OBJECT_0},
    };
    for (const s_WaitAnyCase& row : cases) {
        c_Events events(row.m_Count, false);
        for (int index : row.m_Signaled) {
            SetEvent(events[index]);
        }
        EXPECT_EQ(WaitForMultipleObjects(events.GetCount(), events.GetData(), FALSE, 0), row.m_Expected) << row.m_Name;
        // Only the reported event was taken; the others stay set.
        const int taken = static_cast<int>(row.m_Expected - WAIT_OBJECT_0);
        for (int index : row.m_Signaled) {
            const DWORD expected = index == taken ? WAIT_TIMEOUT : WAIT_OBJECT_0;
            EXPECT_EQ(WaitForSingleObject(events[index], 0), expected) << row.m_Name << " index " << index;
        }
    }
}

TEST(WaitForMultipleObjects, WaitAnyWakesWhenAnotherThreadSignals) {
    c_Events events(3, false);
    std::thread signaller([&] { SetEvent(events[1]); });
    EXPECT_EQ(WaitForMultipleObjects(3, events.GetData(), FALSE, 10000), WAIT_OBJECT_0 + 1);
    signaller.join();
}

TEST(WaitForMultipleObjects, WaitAllTakesEverythingOrNothing) {
    c_Events events(3, false);
    SetEvent(events[0]);
    SetEvent(events[2]);
    EXPECT_EQ(WaitForMultipleObjects(3, events.GetData(), TRUE, 20), WAIT_TIMEOUT);
    // The failed wait took nothing.
    EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_OBJECT_0);
    SetEvent(events[0]);

    std::thread signaller([&] { SetEvent(events[1]); });
    EXPECT_EQ(WaitForMultipleObjects(3, events.GetData(), TRUE, 10000), WAIT_OBJECT_0);
    signaller.join();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(WaitForSingleObject(events[i], 0), WAIT_TIMEOUT) << i;
    }
}

TEST(WaitForMultipleObjects, WaitAllChecksTheLastHandleToo) {
    for (const BOOL manualReset : {FALSE, TRUE}) {
        c_Events events(3, manualReset != FALSE);
        SetEvent(events[0]);
        SetEvent(events[1]);
        EXPECT_EQ(WaitForMultipleObjects(3, events.GetData(), TRUE, 0), WAIT_TIMEOUT) << manualReset;
        EXPECT_EQ(WaitForSingleObject(events[1], 0), WAIT_OBJECT_0) << "the failed wait took nothing";
        SetEvent(events[1]);
        SetEvent(events[2]);
        EXPECT_EQ(WaitForMultipleObjects(3, events.GetData(), TRUE, 0), WAIT_OBJECT_0) << manualReset;
    }
}

TEST(WaitForMultipleObjects, TimesOutOnTheRealClockToo) {
    c_Events events(2, false);
    const auto start = t_Clock::now();
    EXPECT_EQ(WaitForMultipleObjects(2, events.GetData(), FALSE, 30), WAIT_TIMEOUT);
    const auto elapsed = t_Clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(30));
    EXPECT_LT(elapsed, PROMPTLY);
}

TEST(WaitForSingleObject, InvalidHandlesFailAtOnce) {
    HANDLE closed = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    ASSERT_TRUE(CloseHandle(closed));
    const HANDLE handles[] = {nullptr, INVALID_HANDLE_VALUE, reinterpret_cast<HANDLE>(0x1234), closed};
    for (HANDLE handle : handles) {
        const auto start = t_Clock::now();
        SetLastError(0);
        EXPECT_EQ(WaitForSingleObject(handle, INFINITE), WAIT_FAILED) << handle;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE) << handle;
        EXPECT_LT(t_Clock::now() - start, PROMPTLY);
        EXPECT_FALSE(SetEvent(handle));
        EXPECT_FALSE(CloseHandle(handle));
    }
}

TEST(WaitForMultipleObjects, RejectsBadCountsAndRepeatsInWaitAll) {
    c_Events events(65, false);
    const DWORD counts[] = {0, 65};
    for (DWORD count : counts) {
        SetLastError(0);
        EXPECT_EQ(WaitForMultipleObjects(count, events.GetData(), FALSE, 0), WAIT_FAILED) << count;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    const HANDLE twice[] = {events[0], events[0]};
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    SetEvent(events[0]);
    EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), WAIT_OBJECT_0);
}

TEST(CreateEventW, NamedEventsAreOpenedAgainWithinTheProcess) {
    HANDLE first = CreateEventW(nullptr, TRUE, FALSE, u"Waits_test event");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    HANDLE second = CreateEventW(nullptr, TRUE, FALSE, u"Waits_test event");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    SetEvent(first);
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
    // Names are compared with case, and one name cannot be two kinds of object.
    HANDLE otherCase = CreateEventW(nullptr, TRUE, FALSE, u"WAITS_TEST EVENT");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(CreateMutexW(nullptr, FALSE, u"Waits_test event"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    CloseHandle(otherCase);
    CloseHandle(first);
    CloseHandle(second);
    // With every handle closed, the name is free again.
    HANDLE again = CreateEventW(nullptr, TRUE, FALSE, u"Waits_test event");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(WaitForSingleObject(again, 0), WAIT_TIMEOUT);
    CloseHandle(again);
}

} // namespace
