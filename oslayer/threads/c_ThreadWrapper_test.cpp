// Tests of c_ThreadWrapper: start and stop, the virtual operations, the wait loop, the hooks and
// the registry.

#include "oslayer/threads/c_ThreadWrapper.h"

#include "oslayer/system/LogMessage.h"
#include "oslayer/system/c_TextOutput.h"
#include "oslayer/threads/c_Guarded.h"
#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <set>
#include <vector>

namespace {

using n_Platform::PROMPTLY_MS;

// A wrapper that records what runs on its thread. As every subclass with members of its own, it
// stops its thread in its own destructor.
class c_RecordingThread : public c_ThreadWrapper {
public:
    explicit c_RecordingThread(const c_StringView& name) : c_ThreadWrapper(name) {
        m_Recorded.Create(false, c_StringView());
    }
    ~c_RecordingThread() override { WaitForThreadToFinish(); }

    std::vector<c_String> TakeRecord() {
        std::vector<c_String> record;
        record.swap(*m_Record.Access());
        return record;
    }
    // Waits until count records were made since the thread was built.
    bool WaitForRecords(std::size_t count) {
        while (m_RecordCount < count) {
            if (!m_Recorded.Wait(PROMPTLY_MS)) {
                return false;
            }
        }
        return true;
    }

protected:
    void Record(const c_StringView& what) {
        m_Record.Access()->emplace_back(what);
        ++m_RecordCount;
        m_Recorded.Set();
    }
    void OnThreadStart() override { Record("start"); }
    void OnThreadEnd() override { Record("end"); }
    void OnHandleSignaled(std::int32_t index) override { Record(c_String::MakeFormatted("signaled %d", index)); }

private:
    c_Guarded<std::vector<c_String>> m_Record;
    std::atomic<std::size_t> m_RecordCount{0};
    c_Event m_Recorded;
};

std::vector<c_String> Record(std::initializer_list<const char*> items) {
    return std::vector<c_String>(items.begin(), items.end());
}

TEST(c_ThreadWrapper, WithoutWaitHandlesTheThreadStartsAndEndsAtOnce) {
    c_RecordingThread thread("WithoutWaitHandles");
    ASSERT_TRUE(thread.StartThread());
    EXPECT_TRUE(thread.WaitForThreadEnd());
    EXPECT_TRUE(thread.IsThreadFinished());
    EXPECT_TRUE(thread.IsThreadRunning());
    EXPECT_EQ(thread.TakeRecord(), Record({"start", "end"}));
}

// The events to wait for, as many as asked; a null first handle stops the loop.
class c_WaitingThread : public c_RecordingThread {
public:
    c_WaitingThread(const c_StringView& name, int count) : c_RecordingThread(name) {
        for (int i = 0; i < count; ++i) {
            m_Events.push_back(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        }
    }
    ~c_WaitingThread() override {
        WaitForThreadToFinish();
        for (HANDLE event : m_Events) {
            CloseHandle(event);
        }
    }
    HANDLE GetEvent(int index) const { return m_Events[static_cast<std::size_t>(index)]; }
    std::int32_t GetMaximumSeen() const { return m_MaximumSeen; }
    void ReportNullFirst() { m_NullFirst = true; }
    void ReportCount(std::int32_t count) { m_ReportedCount = count; }

protected:
    bool GetWaitHandles(HANDLE* handles, std::int32_t maximum, std::int32_t& count) override {
        m_MaximumSeen = maximum;
        const std::int32_t reported = m_ReportedCount;
        count = reported >= 0 ? reported : static_cast<std::int32_t>(m_Events.size());
        for (std::size_t i = 0; i < m_Events.size() && i < static_cast<std::size_t>(maximum); ++i) {
            handles[i] = m_Events[i];
        }
        if (m_NullFirst) {
            handles[0] = nullptr;
        }
        return true;
    }

private:
    std::vector<HANDLE> m_Events;
    std::atomic<std::int32_t> m_MaximumSeen{0};
    std::atomic<bool> m_NullFirst{false};
    std::atomic<std::int32_t> m_ReportedCount{-1};
};

TEST(c_ThreadWrapper, WaitLoopServesSixtyThreeHandlesLowestFirst) {
    c_WaitingThread thread("SixtyThree", 63);
    ASSERT_TRUE(thread.StartThread());
    ASSERT_TRUE(thread.WaitForRecords(1));
    SetEvent(thread.GetEvent(62));
    ASSERT_TRUE(thread.WaitForRecords(2));
    SetEvent(thread.GetEvent(40));
    ASSERT_TRUE(thread.WaitForRecords(3));
    SetEvent(thread.GetEvent(0));
    ASSERT_TRUE(thread.WaitForRecords(4));
    thread.WaitForThreadToFinish();
    EXPECT_EQ(thread.GetMaximumSeen(), 63);
    EXPECT_EQ(thread.TakeRecord(), Record({"start", "signaled 62", "signaled 40", "signaled 0", "end"}));
}

TEST(c_ThreadWrapper, WaitLoopReportsTheLowestOfSeveralSignaledHandles) {
    c_WaitingThread thread("LowestFirst", 8);
    SetEvent(thread.GetEvent(6));
    SetEvent(thread.GetEvent(3));
    ASSERT_TRUE(thread.StartThread());
    ASSERT_TRUE(thread.WaitForRecords(3));
    thread.WaitForThreadToFinish();
    EXPECT_EQ(thread.TakeRecord(), Record({"start", "signaled 3", "signaled 6", "end"}));
}

TEST(c_ThreadWrapper, NullFirstHandleEndsTheLoopWithoutAWait) {
    c_WaitingThread thread("NullFirst", 2);
    thread.ReportNullFirst();
    SetEvent(thread.GetEvent(1));
    ASSERT_TRUE(thread.StartThread());
    EXPECT_TRUE(thread.WaitForThreadEnd());
    EXPECT_EQ(thread.TakeRecord(), Record({"start", "end"}));
    EXPECT_EQ(WaitForSingleObject(thread.GetEvent(1), 0), WAIT_OBJECT_0);
}

std::vector<c_String> g_LogLines;
void KeepLogLine(const c_StringView& line) {
    g_LogLines.emplace_back(line);
}

struct s_FailedWaitCase {
    const char* m_Name;
    std::int32_t m_Count;   // -1: the handles as they are
    bool m_CloseFirstEvent; // a handle that is closed when the loop waits for it
    const char* m_Log;
};

// A wait that cannot be done is logged once, the loop pauses instead of spinning, and a stop still
// ends it promptly.
TEST(c_ThreadWrapper, FailedWaitsPauseAndLogOnce) {
    const s_FailedWaitCase cases[] = {
        {"closed handle", -1, true,
         "Warning: The wait loop of thread ClosedHandle failed to wait.  Windows error code 6: The handle is "
         "invalid."},
        {"count beyond the maximum", 64, false,
         "Warning: The wait loop of thread CountBeyond failed to wait.  Windows error code 87: The parameter is "
         "incorrect."},
    };
    const c_StringView names[] = {"ClosedHandle", "CountBeyond"};
    for (int row = 0; row < 2; ++row) {
        const s_FailedWaitCase& failedWait = cases[row];
        g_LogLines.clear();
        const t_LogSink previous = SetLogSink(KeepLogLine);
        {
            c_WaitingThread thread(names[row], 1);
            thread.ReportCount(failedWait.m_Count);
            if (failedWait.m_CloseFirstEvent) {
                CloseHandle(thread.GetEvent(0));
            }
            ASSERT_TRUE(thread.StartThread());
            EXPECT_FALSE(thread.WaitForEndEvent(300)) << failedWait.m_Name;
            const auto start = std::chrono::steady_clock::now();
            thread.WaitForThreadToFinish();
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << failedWait.m_Name;
        }
        SetLogSink(previous);
        EXPECT_EQ(g_LogLines, std::vector<c_String>({failedWait.m_Log})) << failedWait.m_Name;
    }
}

TEST(c_ThreadWrapper, WithoutAThreadNothingIsStoppedOrWaitedFor) {
    class c_StopCounter : public c_ThreadWrapper {
    public:
        using c_ThreadWrapper::c_ThreadWrapper;
        int m_Stops = 0;

    protected:
        void OnStopRequested() override { ++m_Stops; }
    } thread("NeverStarted");
    thread.RequestThreadStop();
    thread.WaitForThreadToFinish();
    EXPECT_EQ(thread.m_Stops, 0);
    EXPECT_TRUE(thread.IsStopRequested());
    EXPECT_TRUE(thread.WaitForEndEvent(INFINITE));
    EXPECT_TRUE(thread.IsThreadFinished());
    EXPECT_FALSE(thread.IsThreadRunning());
    EXPECT_EQ(thread.GetThreadId(), 0u);
    EXPECT_EQ(thread.ResumeThread(), 0xFFFFFFFFu);
    EXPECT_FALSE(thread.SetThreadPriorityNormal());
}

// A periodic thread whose first action is to ask whether a stop was requested: started running,
// it could ask before its handle was stored, be told "no thread" and end at once.
class c_PeriodicThread : public c_ThreadWrapper {
public:
    explicit c_PeriodicThread(const c_StringView& name) : c_ThreadWrapper(name) {
        m_Began.Create(false, c_StringView());
    }
    ~c_PeriodicThread() override { WaitForThreadToFinish(); }

    c_Event m_Began;
    std::atomic<bool> m_StoppedAtStart{false};
    std::atomic<int> m_Periods{0};
    std::atomic<DWORD> m_StopRequestedOn{0};

protected:
    void ThreadFunction() override {
        m_StoppedAtStart = IsStopRequested();
        m_Began.Set();
        while (!WaitForEndEvent(1)) {
            ++m_Periods;
        }
    }
    void OnStopRequested() override { m_StopRequestedOn = GetCurrentThreadId(); }
};

TEST(c_ThreadWrapper, ThreadNeverSeesAStopAtItsStart) {
    c_PeriodicThread thread("StartRace");
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(thread.StartThread());
        ASSERT_TRUE(thread.m_Began.Wait(PROMPTLY_MS));
        thread.WaitForThreadToFinish();
        ASSERT_FALSE(thread.m_StoppedAtStart) << "start " << i;
    }
}

TEST(c_ThreadWrapper, StopsWaitsAndStartsAgain) {
    c_PeriodicThread thread("Restart");
    ASSERT_TRUE(thread.StartThread());
    c_String error = "untouched";
    EXPECT_FALSE(thread.StartThread(&error));
    EXPECT_EQ(error, "untouched");
    const std::uint32_t firstId = thread.GetThreadId();
    EXPECT_NE(firstId, 0u);

    thread.RequestThreadStop();
    EXPECT_EQ(thread.m_StopRequestedOn, GetCurrentThreadId());
    EXPECT_TRUE(thread.WaitForThreadEnd());
    EXPECT_TRUE(thread.IsThreadRunning());
    EXPECT_TRUE(thread.IsStopRequested());

    thread.WaitForThreadToFinish();
    EXPECT_FALSE(thread.IsThreadRunning());
    EXPECT_EQ(thread.GetThreadId(), 0u);
    EXPECT_TRUE(thread.IsStopRequested());

    const int periods = thread.m_Periods;
    ASSERT_TRUE(thread.StartThread());
    EXPECT_FALSE(thread.IsStopRequested());
    EXPECT_NE(thread.GetThreadId(), firstId);
    EXPECT_FALSE(thread.WaitForEndEvent(20));
    thread.WaitForThreadToFinish();
    EXPECT_GT(thread.m_Periods, periods);
}

c_Guarded<std::vector<DWORD>> g_EndedThreads;
void RecordThreadEnd() {
    g_EndedThreads.Access()->push_back(GetCurrentThreadId());
}

TEST(c_ThreadWrapper, ThreadEndHookRunsOncePerThread) {
    g_EndedThreads.Access()->clear();
    void (*previous)() = ThreadEndHook.exchange(RecordThreadEnd);
    std::set<DWORD> started;
    {
        std::vector<std::unique_ptr<c_PeriodicThread>> threads;
        for (int i = 0; i < 3; ++i) {
            threads.push_back(std::make_unique<c_PeriodicThread>("EndHook"));
        }
        for (int round = 0; round < 2; ++round) {
            for (auto& thread : threads) {
                ASSERT_TRUE(thread->StartThread());
                started.insert(thread->GetThreadId());
            }
            for (auto& thread : threads) {
                thread->WaitForThreadToFinish();
            }
        }
    }
    ThreadEndHook.exchange(previous);
    std::vector<DWORD> ended = *g_EndedThreads.Access();
    EXPECT_EQ(ended.size(), 6u);
    EXPECT_EQ(std::set<DWORD>(ended.begin(), ended.end()), started);
}

std::vector<c_String> ListedLinesNamed(const c_StringView& name) {
    std::vector<c_String> lines;
    c_TextOutput output("Threads", [&](const c_StringView& text, bool flag, std::int32_t number) {
        if (text.Find(name) >= 0) {
            lines.emplace_back(text);
        }
        EXPECT_FALSE(flag);
        EXPECT_EQ(number, 0);
    });
    c_ThreadWrapper::ListThreads(output);
    return lines;
}

TEST(c_ThreadWrapper, ListsOnlyWrappersThatHaveAThread) {
    c_PeriodicThread running("Listed::Running");
    c_PeriodicThread idle("Listed::Idle");
    ASSERT_TRUE(running.StartThread());
    const c_String expected =
        c_String::MakeFormatted("Threads | Thread ID: %u, name: Listed::Running.", running.GetThreadId());
    EXPECT_EQ(ListedLinesNamed("Listed::"), std::vector<c_String>({expected}));
    running.SetName("Listed::Renamed");
    EXPECT_EQ(ListedLinesNamed("Listed::").size(), 1u);
    EXPECT_EQ(ListedLinesNamed("Listed::Renamed").size(), 1u);
    running.WaitForThreadToFinish();
    EXPECT_TRUE(ListedLinesNamed("Listed::").empty());
}

TEST(c_ThreadWrapper, PriorityFailuresCarryTheWindowsErrorText) {
    c_PeriodicThread thread("Priority");
    ASSERT_TRUE(thread.StartThread());
    c_String error;
    EXPECT_TRUE(thread.SetThreadPriorityBelowNormal(&error));
    EXPECT_TRUE(error.IsEmpty());
    EXPECT_FALSE(thread.SetThreadPriority(7, &error));
    EXPECT_EQ(error, "Error setting thread priority: Windows error code 87: The parameter is incorrect.");
    EXPECT_FALSE(thread.SetThreadPriority(7, nullptr));
}

} // namespace
