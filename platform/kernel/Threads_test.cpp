// Tests of threads, fiber-local slots and the thread message post.

#include <process.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

struct s_ThreadRecord {
    std::atomic<bool> m_Ran{false};
    std::atomic<DWORD> m_Id{0};
    std::atomic<int> m_Nice{100};
};

unsigned __stdcall RecordThread(void* argument) {
    auto* record = static_cast<s_ThreadRecord*>(argument);
    record->m_Id = GetCurrentThreadId();
    record->m_Nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    record->m_Ran = true;
    return 0;
}

HANDLE StartThread(unsigned(__stdcall* start)(void*), void* argument, unsigned flags, unsigned* id = nullptr) {
    return reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, start, argument, flags, id));
}

TEST(Threads, SuspendedThreadRunsOnlyOnceResumed) {
    s_ThreadRecord record;
    unsigned id = 0;
    HANDLE thread = StartThread(RecordThread, &record, CREATE_SUSPENDED, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(WaitForSingleObject(thread, 50), WAIT_TIMEOUT);
    EXPECT_FALSE(record.m_Ran);
    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(record.m_Ran);
    EXPECT_EQ(record.m_Id, id);
    EXPECT_NE(id, GetCurrentThreadId());
    EXPECT_EQ(ResumeThread(thread), 0u);
    EXPECT_TRUE(CloseHandle(thread));
}

TEST(Threads, PriorityBelowNormalRaisesTheNiceValue) {
    const int base = getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()));
    s_ThreadRecord record;
    HANDLE thread = StartThread(RecordThread, &record, CREATE_SUSPENDED);
    EXPECT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL));
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_FALSE(SetThreadPriority(thread, 7));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    // Raising is allowed only with CAP_SYS_NICE; without it the call reports it.
    if (!SetThreadPriority(thread, THREAD_PRIORITY_ABOVE_NORMAL)) {
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
        ResumeThread(thread);
        WaitForSingleObject(thread, INFINITE);
        EXPECT_EQ(record.m_Nice, base + 5 > 19 ? 19 : base + 5);
    } else {
        ResumeThread(thread);
        WaitForSingleObject(thread, INFINITE);
        EXPECT_EQ(record.m_Nice, base - 5 < -20 ? -20 : base - 5);
    }
    CloseHandle(thread);
}

std::atomic<int> g_SlotCallbacks{0};
DWORD g_Slot = FLS_OUT_OF_INDEXES;

void WINAPI CountSlotCallback(PVOID data) {
    EXPECT_EQ(data, &g_SlotCallbacks);
    ++g_SlotCallbacks;
}

struct s_Unwound {
    std::atomic<bool>* m_p_Flag;
    ~s_Unwound() { *m_p_Flag = true; }
};

std::atomic<bool> g_StackUnwound{false};

unsigned __stdcall SetSlotAndEnd(void*) {
    s_Unwound unwound{&g_StackUnwound};
    FlsSetValue(g_Slot, &g_SlotCallbacks);
    _endthreadex(3);
}

TEST(Threads, HandleIsSignaledAfterUnwindingAndSlotCallbacks) {
    g_SlotCallbacks = 0;
    g_StackUnwound = false;
    g_Slot = FlsAlloc(CountSlotCallback);
    ASSERT_NE(g_Slot, FLS_OUT_OF_INDEXES);
    HANDLE thread = StartThread(SetSlotAndEnd, nullptr, 0);
    ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(g_StackUnwound);
    EXPECT_EQ(g_SlotCallbacks, 1);
    CloseHandle(thread);
    EXPECT_TRUE(FlsFree(g_Slot));
}

TEST(FiberLocalSlots, HoldOneValuePerThread) {
    const DWORD slot = FlsAlloc(nullptr);
    int mine = 0;
    ASSERT_TRUE(FlsSetValue(slot, &mine));
    PVOID seenByOther = &mine;
    std::thread other([&] { seenByOther = FlsGetValue(slot); });
    other.join();
    EXPECT_EQ(seenByOther, nullptr);
    EXPECT_EQ(FlsGetValue(slot), &mine);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_TRUE(FlsFree(slot));
    EXPECT_EQ(FlsGetValue(slot), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(FlsSetValue(slot, &mine));
    EXPECT_FALSE(FlsFree(slot));
}

TEST(Threads, CallsOnBadHandlesOrUnsupportedThingsFail) {
    const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(ResumeThread(event), static_cast<DWORD>(-1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetThreadPriority(nullptr), THREAD_PRIORITY_ERROR_RETURN);
    EXPECT_FALSE(SetThreadPriority(event, THREAD_PRIORITY_NORMAL));
    CloseHandle(event);

    s_ThreadRecord record;
    unsigned id = 0;
    HANDLE thread = StartThread(RecordThread, &record, 0, &id);
    EXPECT_FALSE(TerminateThread(thread, 101));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);

    errno = 0;
    EXPECT_EQ(_beginthreadex(nullptr, 0, nullptr, nullptr, 0, nullptr), 0u);
    EXPECT_EQ(errno, EINVAL);
    // The thread made no window call, so it never had a message queue.
    EXPECT_FALSE(PostThreadMessageW(id, WM_QUIT, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_THREAD_ID);
}

} // namespace
