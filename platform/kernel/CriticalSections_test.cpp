// Tests of critical sections.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
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

private:
    CRITICAL_SECTION m_Section;
};

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
