// Tests of the timer service: c_TimerNew, c_TimerCore, the thread binding, the exception hook and
// the timer windows.
//
// Time is the layer's test clock: the polling thread sleeps 10 ms of it at a time, and a test moves
// the clock in steps of that length, waiting each time until the thread has posted and slept again.

#include "oslayer/threads/c_TimerNew.h"

#include "oslayer/system/LogMessage.h"
#include "oslayer/threads/LogTimerException.h"
#include "oslayer/threads/c_TimerCore.h"
#include "oslayer/windows/WindowCreation.h"
#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestClock.h"
#include "platform/user/ModalLoop.h"
#include "platform/user/testing/c_DialogDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using n_Platform::PumpPending;
using n_Platform::PumpUntil;

constexpr std::uint64_t POLL_MS = 10;

// Moves the test clock in polling steps; after each, the polling thread (when the service runs)
// has handled it and sleeps again.
void Advance(std::uint64_t milliseconds) {
    const std::uint32_t pollers = n_Platform::CountTimedSleepers();
    for (std::uint64_t done = 0; done < milliseconds; done += POLL_MS) {
        n_Platform::AdvanceClock(std::min(POLL_MS, milliseconds - done));
        ASSERT_TRUE(n_Platform::WaitForTimedSleepers(pollers));
    }
}

// Moves the clock and handles what the calling thread was posted meanwhile.
void AdvanceAndPump(std::uint64_t milliseconds) {
    Advance(milliseconds);
    PumpPending();
}

// An owner that records each event: when, on which thread, and whether the timer still ran.
class c_RecordingOwner : public c_TimerNewCallback {
public:
    void OnTimer(c_TimerNew* timer) override {
        m_Ticks.push_back(GetTickCount64());
        m_Threads.push_back(GetCurrentThreadId());
        m_RunningInside.push_back(timer->IsRunning());
        if (m_OnEvent) {
            m_OnEvent(timer);
        }
    }
    std::size_t Count() const { return m_Ticks.size(); }

    std::vector<ULONGLONG> m_Ticks;
    std::vector<DWORD> m_Threads;
    std::vector<bool> m_RunningInside;
    std::function<void(c_TimerNew*)> m_OnEvent;
};

std::mutex g_LogLock;
std::vector<c_String> g_LogLines;

void RecordLogLine(const c_StringView& line) {
    std::lock_guard<std::mutex> lock(g_LogLock);
    g_LogLines.emplace_back(line);
}

// The service on the test clock; the polling thread is asleep when a test begins.
class TimerService : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(c_TimerCore::Start());
        ASSERT_TRUE(n_Platform::WaitForTimedSleepers(1));
    }
    void TearDown() override {
        c_TimerCore::Stop();
        EXPECT_EQ(c_TimerCore::GetState(), c_TimerCore::STOPPED);
    }

    n_Platform::c_TestClock m_Clock;
};

// Tests that start and stop the service themselves.
class StoppedTimerService : public testing::Test {
protected:
    n_Platform::c_TestClock m_Clock;
};

TEST_F(TimerService, ASingleShotFiresOnceOnTimeAndIsStoppedInsideItsCallback) {
    c_RecordingOwner owner;
    c_TimerNew timer(&owner, "SingleShot");
    const ULONGLONG started = GetTickCount64();
    timer.Start(100, 1, false);
    EXPECT_TRUE(timer.IsRunning());
    EXPECT_EQ(timer.GetInterval(), 100u);
    AdvanceAndPump(90);
    EXPECT_EQ(owner.Count(), 0u);
    AdvanceAndPump(10);
    ASSERT_EQ(owner.Count(), 1u);
    EXPECT_EQ(owner.m_Ticks[0] - started, 100u);
    EXPECT_EQ(owner.m_RunningInside, std::vector<bool>{false});
    EXPECT_FALSE(timer.IsRunning());
    AdvanceAndPump(300);
    EXPECT_EQ(owner.Count(), 1u);
}

TEST_F(TimerService, ATimerIsDueAtItsIntervalAndNotOneTickBefore) {
    c_TimerNew timer(nullptr, "Due");
    const ULONGLONG started = GetTickCount64();
    timer.Start(100, 0, false);
    MSG message;
    c_TimerCore::PostDueTimers(started + 99);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    c_TimerCore::PostDueTimers(started + 100);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(message.wParam, timer.GetId());
    c_TimerCore::PostDueTimers(started + 199);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) << "the next one a whole interval on";
    c_TimerCore::PostDueTimers(started + 200);
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    timer.Stop();
}

TEST_F(TimerService, ARestartInsideTheCallbackKeepsItRunning) {
    c_RecordingOwner owner;
    c_TimerNew timer(&owner, "Restarted");
    owner.m_OnEvent = [&](c_TimerNew* fired) {
        if (owner.Count() == 1) {
            fired->Start(20, 1, false);
        }
    };
    timer.Start(20, 1, false);
    AdvanceAndPump(20);
    ASSERT_EQ(owner.Count(), 1u);
    EXPECT_TRUE(timer.IsRunning());
    AdvanceAndPump(20);
    ASSERT_EQ(owner.Count(), 2u);
    EXPECT_FALSE(timer.IsRunning());
}

TEST_F(TimerService, RepeatCountsFireThatManyTimesOrUntilStopped) {
    struct s_Case {
        const char* m_p_Name;
        std::int32_t m_RepeatCount;
        std::size_t m_Fires;
        bool m_RunsOn;
    };
    const s_Case cases[] = {
        {"three times", 3, 3, false},
        {"until stopped", 0, 5, true},
        {"a negative count as until stopped", -4, 5, true},
    };
    for (const s_Case& row : cases) {
        c_RecordingOwner owner;
        c_TimerNew timer(&owner, "Repeated");
        bool runningAtTheLast = false;
        owner.m_OnEvent = [&](c_TimerNew* fired) {
            if (owner.Count() == row.m_Fires) {
                runningAtTheLast = fired->IsRunning();
                fired->Stop();
            }
        };
        timer.Start(10, row.m_RepeatCount, false);
        AdvanceAndPump(10 * row.m_Fires);
        ASSERT_EQ(owner.Count(), row.m_Fires) << row.m_p_Name;
        EXPECT_EQ(runningAtTheLast, row.m_RunsOn) << row.m_p_Name;
        AdvanceAndPump(60);
        EXPECT_EQ(owner.Count(), row.m_Fires) << row.m_p_Name;
    }
}

TEST_F(TimerService, StartsThatChangeNothing) {
    c_RecordingOwner owner;
    c_TimerNew timer(&owner, "Bound");
    timer.Stop();
    EXPECT_FALSE(timer.IsRunning());
    timer.Start(200, 0, false);
    std::thread([&] { timer.Start(10, 1, false); }).join();
    EXPECT_EQ(timer.GetInterval(), 200u);
    timer.Start(10, 1, true);
    EXPECT_EQ(timer.GetInterval(), 200u);
    AdvanceAndPump(400);
    ASSERT_EQ(owner.Count(), 2u);
    EXPECT_EQ(owner.m_Threads, std::vector<DWORD>(2, GetCurrentThreadId()));
    EXPECT_TRUE(timer.IsRunning());
}

TEST_F(TimerService, AnIntervalOfZeroRunsAsTenMilliseconds) {
    c_RecordingOwner owner;
    c_TimerNew timer(&owner, "Zero");
    const ULONGLONG started = GetTickCount64();
    timer.Start(0, 1, false);
    EXPECT_EQ(timer.GetInterval(), 10u);
    AdvanceAndPump(10);
    ASSERT_EQ(owner.Count(), 1u);
    EXPECT_EQ(owner.m_Ticks[0] - started, 10u);
}

TEST_F(TimerService, NoCallbackRunsForEventsQueuedBeforeAStop) {
    c_RecordingOwner owner;
    c_TimerNew stoppedHere(&owner, "StoppedHere");
    c_TimerNew stoppedElsewhere(&owner, "StoppedElsewhere");
    stoppedHere.Start(10, 0, false);
    stoppedElsewhere.Start(10, 0, false);
    // Not pumping, so the events stay queued.
    Advance(60);
    stoppedHere.Stop();
    std::thread([&] { stoppedElsewhere.Stop(); }).join();
    EXPECT_FALSE(stoppedElsewhere.IsRunning());
    AdvanceAndPump(60);
    EXPECT_EQ(owner.Count(), 0u);
    EXPECT_EQ(c_TimerCore::FindThreadTimer(stoppedElsewhere.GetId()), nullptr);
}

TEST_F(StoppedTimerService, NoCallbackRunsAfterTheServiceStops) {
    ASSERT_TRUE(c_TimerCore::Start());
    ASSERT_TRUE(n_Platform::WaitForTimedSleepers(1));
    c_RecordingOwner owner;
    c_TimerNew repeating(&owner, "Repeating");
    c_TimerNew singleShot(&owner, "SingleShot");
    repeating.Start(10, 0, false);
    singleShot.Start(10, 1, false);
    Advance(60);
    c_TimerCore::Stop();
    EXPECT_FALSE(repeating.IsRunning());
    EXPECT_FALSE(singleShot.IsRunning());
    AdvanceAndPump(60);
    EXPECT_EQ(owner.Count(), 0u);
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(TimerService, AnExceptionInACallbackIsLoggedAndTheServiceGoesOn) {
    struct s_Case {
        const char* m_p_Name;
        const char* m_p_TimerName;
        const char* m_p_Line;
    };
    const s_Case cases[] = {
        {"named", "c_FileDownloader::m_RetryTimer",
         "Warning: Caught an exception during the processing of a timer event.  Source: "
         "c_FileDownloader::m_RetryTimer"},
        {"without a name", "", "Warning: Caught an exception during the processing of a timer event."},
    };
    const t_LogSink previousSink = SetLogSink(RecordLogLine);
    auto* previousHook = TimerExceptionHook.exchange(LogTimerException);
    for (const s_Case& row : cases) {
        g_LogLines.clear();
        c_RecordingOwner owner;
        owner.m_OnEvent = [&](c_TimerNew*) {
            if (owner.Count() == 1) {
                throw std::runtime_error("from the owner");
            }
        };
        c_TimerNew timer(&owner, row.m_p_TimerName);
        timer.Start(10, 2, false);
        AdvanceAndPump(20);
        ASSERT_EQ(owner.Count(), 2u) << row.m_p_Name;
        EXPECT_FALSE(timer.IsRunning()) << row.m_p_Name;
        ASSERT_EQ(g_LogLines.size(), 1u) << row.m_p_Name;
        EXPECT_EQ(g_LogLines[0], row.m_p_Line) << row.m_p_Name;
    }
    TimerExceptionHook.store(previousHook);
    SetLogSink(previousSink);
}

TEST_F(TimerService, TwoThreadsEachGetTheirOwnTimersCallbacks) {
    std::vector<DWORD> threads[2];
    std::vector<DWORD> callers[2];
    std::atomic<int> started{0};
    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < 2; ++t) {
        workers.emplace_back([&, t] {
            c_RecordingOwner owner;
            c_TimerNew timer(&owner, "PerThread");
            timer.Start(10, 3, false);
            ++started;
            EXPECT_TRUE(PumpUntil([&] { return owner.Count() == 3; }));
            threads[t] = owner.m_Threads;
            callers[t].assign(3, GetCurrentThreadId());
            ++finished;
        });
    }
    while (started < 2) {
        std::this_thread::yield();
    }
    for (int step = 0; step < 3; ++step) {
        Advance(10);
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    EXPECT_EQ(finished, 2);
    EXPECT_EQ(threads[0], callers[0]);
    EXPECT_EQ(threads[1], callers[1]);
    EXPECT_NE(callers[0], callers[1]);
}

TEST_F(TimerService, TimersKeepFiringInsideAModalLoop) {
    c_RecordingOwner owner;
    c_TimerNew timer(&owner, "DuringModal");
    timer.Start(10, 0, false);
    // The loop asks whether it is done before each wait, so the clock moves from there.
    EXPECT_TRUE(n_Platform::RunModalLoop([&] {
        if (owner.Count() >= 3) {
            return true;
        }
        Advance(10);
        return false;
    }));
    EXPECT_EQ(owner.Count(), 3u);
    timer.Stop();
}

TEST_F(TimerService, ALongSingleShotFiresAtOneMoveOfTheClockInsideAMessageBox) {
    n_Platform::c_DialogDriver driver;
    c_RecordingOwner owner;
    std::atomic<bool> fired{false};
    owner.m_OnEvent = [&](c_TimerNew*) { fired = true; };
    c_TimerNew timer(&owner, "c_FileDownloader::m_RetryTimer");
    const ULONGLONG started = GetTickCount64();
    timer.Start(5000, 1, false);
    // Another thread moves the clock while the box's nested loop runs here, then answers the box.
    std::thread user([&] {
        ASSERT_TRUE(driver.WaitForMessageBox().has_value());
        const std::uint32_t pollers = n_Platform::CountTimedSleepers();
        n_Platform::AdvanceClock(5000);
        // The box is answered in any case, so that a failure does not leave this test waiting.
        EXPECT_TRUE(n_Platform::WaitForTimedSleepers(pollers));
        EXPECT_TRUE(n_Platform::WaitUntil([&] { return fired.load(); }));
        EXPECT_TRUE(driver.Answer(IDOK));
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"Retrying.", u"Dovrik Chart Installer", MB_OK), IDOK);
    user.join();
    ASSERT_EQ(owner.Count(), 1u);
    EXPECT_EQ(owner.m_Ticks[0] - started, 5000u);
}

TEST_F(TimerService, ASkippingTimerPostsNothingWhileAnEventIsPending) {
    struct s_Case {
        const char* m_p_Name;
        bool m_Skip;
        int m_AtMost;
        int m_AtLeast;
    };
    const s_Case cases[] = {{"skipping", true, 1, 1}, {"not skipping", false, 10, 10}};
    for (const s_Case& row : cases) {
        c_TimerNew timer(nullptr, "Pending");
        timer.SetSkipWhilePending(row.m_Skip);
        timer.Start(10, 0, false);
        // Not pumping: the events stay queued, unprocessed.
        Advance(100);
        int queued = 0;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            queued += message.message == WM_TIMER ? 1 : 0;
        }
        timer.Stop();
        EXPECT_LE(queued, row.m_AtMost) << row.m_p_Name;
        EXPECT_GE(queued, row.m_AtLeast) << row.m_p_Name;
    }
}

TEST(TimerEntries, TheAdaptiveIntervalFollowsTheLastDuration) {
    struct s_Case {
        const char* m_p_Name;
        bool m_Adaptive;
        bool m_Skip;
        std::uint64_t m_LastDuration;
        std::uint64_t m_Expected;
    };
    const s_Case cases[] = {
        {"stretched to the maximum", true, true, 800, 1000},  {"back to the interval", true, true, 100, 250},
        {"stretched by the factor", true, true, 300, 450},    {"not adaptive", false, true, 800, 250},
        {"adaptive without skipping", true, false, 800, 250},
    };
    for (const s_Case& row : cases) {
        const s_TimerEntry entry = {nullptr, nullptr,        250, 0,   0, 0, row.m_LastDuration, true, row.m_Skip,
                                    false,   row.m_Adaptive, 1.5, 1000};
        EXPECT_EQ(GetEffectiveInterval(entry), row.m_Expected) << row.m_p_Name;
    }
}

TEST_F(TimerService, AdaptiveDefaultsApplyToFactorsAndMaximaNotGiven) {
    c_RecordingOwner owner;
    c_TimerNew timer(&owner, "Adaptive");
    timer.Start(250, 0, false, true, 0, 0);
    const s_TimerEntry* entry = c_TimerCore::FindThreadTimer(timer.GetId());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->m_Factor, 1.5);
    EXPECT_EQ(entry->m_MaxInterval, 1000u);
    timer.Start(250, 0, false, true, 3, 4000);
    entry = c_TimerCore::FindThreadTimer(timer.GetId());
    EXPECT_EQ(entry->m_Factor, 3.0);
    EXPECT_EQ(entry->m_MaxInterval, 4000u);
}

TEST(TimerIds, FollowTheOrderOfConstruction) {
    c_TimerNew first(nullptr, "");
    c_TimerNew second(nullptr, "");
    c_TimerNew third(nullptr, "");
    EXPECT_EQ(second.GetId(), first.GetId() + 1);
    EXPECT_EQ(third.GetId(), second.GetId() + 1);
}

TEST_F(StoppedTimerService, ATimerStartedWhileTheServiceIsStoppedIsBoundByALaterStart) {
    c_RecordingOwner owner;
    c_TimerNew timer(&owner, "Early");
    timer.Start(10, 1, false);
    EXPECT_TRUE(timer.IsRunning());
    AdvanceAndPump(50);
    EXPECT_EQ(owner.Count(), 0u);
    ASSERT_TRUE(c_TimerCore::Start());
    ASSERT_TRUE(n_Platform::WaitForTimedSleepers(1));
    timer.Start(10, 1, false);
    AdvanceAndPump(10);
    EXPECT_EQ(owner.Count(), 1u);
    c_TimerCore::Stop();
}

TEST(TimerServiceStart, AClassThatCannotBeRegisteredIsReportedOnStandardError) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_NE(n_OSLayer::RegisterWindowClass(c_TimerCore::WINDOW_CLASS_NAME, instance, DefWindowProcW), 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(c_TimerCore::Start());
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_EQ(reported, "c_TimerCore::Start: Error registering the window class RIZozorUzuZaravozoDavova.  "
                        "Windows error code 1410: Class already exists.\n");
    EXPECT_EQ(c_TimerCore::GetState(), c_TimerCore::RUNNING);
    EXPECT_TRUE(c_TimerCore::Start());
    c_TimerCore::Stop();
    EXPECT_TRUE(n_OSLayer::UnregisterWindowClass(c_TimerCore::WINDOW_CLASS_NAME, instance));
}

TEST_F(TimerService, TheLastReferenceFromAnotherThreadClosesTheWindowOnItsOwnThread) {
    c_TimerWindowRef reference;
    std::atomic<bool> released{false};
    std::atomic<HWND> window = nullptr;
    std::thread owner([&] {
        reference = c_TimerCore::AcquireThreadWindow();
        window = reference.GetWindow();
        EXPECT_TRUE(PumpUntil([&] { return released && !IsWindow(window); }));
    });
    while (window == nullptr) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(IsWindow(window));
    reference.Release();
    released = true;
    owner.join();
    EXPECT_FALSE(IsWindow(window));
}

} // namespace
