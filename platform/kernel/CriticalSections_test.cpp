// Tests of critical sections.

#include <windows.h>

#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <ctime>
#include <pthread.h>
#include <thread>
#include <vector>

namespace {

class c_Section {
public:
    explicit c_Section(DWORD spinCount = 0) { InitializeCriticalSectionAndSpinCount(&m_Section, spinCount); }
    ~c_Section() { DeleteCriticalSection(&m_Section); }
    LPCRITICAL_SECTION Get() { return &m_Section; }
    bool IsHeldBy(DWORD threadId) {
        return std::atomic_ref<HANDLE>(m_Section.OwningThread).load() ==
               reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(threadId));
    }

    // 0 free, 1 held, 2 held with a waiter asleep.
    LONG GetLockWord() { return std::atomic_ref<LONG>(m_Section.LockCount).load(); }

private:
    CRITICAL_SECTION m_Section;
};

std::int64_t ThreadCpuNanoseconds(std::thread& thread) {
    clockid_t clock;
    timespec used{};
    if (pthread_getcpuclockid(thread.native_handle(), &clock) != 0 || clock_gettime(clock, &used) != 0) {
        return -1;
    }
    return std::int64_t(used.tv_sec) * 1000000000 + used.tv_nsec;
}

void CountUnderSectionFromFourThreads(DWORD spinCount) {
    c_Section section(spinCount);
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                EnterCriticalSection(section.Get());
                ++counter;
                LeaveCriticalSection(section.Get());
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(counter, 80000);
}

TEST(CriticalSections, KeepOutOtherThreads) {
    CountUnderSectionFromFourThreads(0);
}

TEST(CriticalSections, KeepOutOtherThreadsWhileTheySpin) {
    CountUnderSectionFromFourThreads(100000);
}

// A waiter with a spin count watches the held section on its processor instead of sleeping: it
// burns processor time while the lock word never records a sleeper, and takes the section once it
// is left.
TEST(CriticalSections, WaitersSpinUpToTheirSpinCountBeforeSleeping) {
    constexpr std::int64_t SPUN_NANOSECONDS = 50000000;
    c_Section section(0xFFFFFFFF);
    EnterCriticalSection(section.Get());
    std::atomic<bool> entered{false};
    std::thread waiter([&] {
        EnterCriticalSection(section.Get());
        entered = true;
        LeaveCriticalSection(section.Get());
    });
    EXPECT_TRUE(n_Platform::WaitUntil([&] { return ThreadCpuNanoseconds(waiter) >= SPUN_NANOSECONDS; }));
    EXPECT_EQ(section.GetLockWord(), 1);
    EXPECT_FALSE(entered);
    LeaveCriticalSection(section.Get());
    EXPECT_TRUE(n_Platform::WaitUntil([&] { return entered.load(); }));
    waiter.join();
}

TEST(CriticalSections, AreRecursive) {
    c_Section section;
    EnterCriticalSection(section.Get());
    EnterCriticalSection(section.Get());
    LeaveCriticalSection(section.Get());
    EXPECT_TRUE(section.IsHeldBy(GetCurrentThreadId()));
    LeaveCriticalSection(section.Get());
    EXPECT_TRUE(section.IsHeldBy(0));
    bool entered = false;
    std::thread other([&] {
        EnterCriticalSection(section.Get());
        entered = true;
        LeaveCriticalSection(section.Get());
    });
    other.join();
    EXPECT_TRUE(entered);
}

TEST(CriticalSections, IgnoreLeavesByThreadsThatDoNotOwnThem) {
    c_Section section;
    LeaveCriticalSection(section.Get());
    EnterCriticalSection(section.Get());
    std::thread stranger([&] { LeaveCriticalSection(section.Get()); });
    stranger.join();
    EXPECT_TRUE(section.IsHeldBy(GetCurrentThreadId()));
    LeaveCriticalSection(section.Get());
    EXPECT_TRUE(section.IsHeldBy(0));
}

} // namespace
