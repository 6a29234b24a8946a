// Tests of the completion port as a packet queue: order, time-outs on the test clock, closing.

#include <windows.h>

#include "platform/net/CompletionPort.h"
#include "platform/testing/TestClock.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

struct s_Taken {
    BOOL m_Result = FALSE;
    DWORD m_Error = 0;
    DWORD m_Bytes = 0;
    ULONG_PTR m_Key = 0;
    LPOVERLAPPED m_p_Overlapped = nullptr;
};

s_Taken Take(HANDLE port, DWORD milliseconds) {
    s_Taken taken;
    taken.m_Result = GetQueuedCompletionStatus(port, &taken.m_Bytes, &taken.m_Key, &taken.m_p_Overlapped, milliseconds);
    taken.m_Error = GetLastError();
    return taken;
}

TEST(CompletionPort, PacketsComeOutInTheOrderPosted) {
    HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0);
    ASSERT_NE(port, nullptr);
    OVERLAPPED records[3] = {};
    for (DWORD i = 0; i < 3; ++i) {
        ASSERT_TRUE(PostQueuedCompletionStatus(port, i + 10, 100 + i, &records[i]));
    }
    for (DWORD i = 0; i < 3; ++i) {
        const s_Taken taken = Take(port, 0);
        EXPECT_TRUE(taken.m_Result);
        EXPECT_EQ(taken.m_Bytes, i + 10);
        EXPECT_EQ(taken.m_Key, 100 + i);
        EXPECT_EQ(taken.m_p_Overlapped, &records[i]);
    }
    const s_Taken empty = Take(port, 0);
    EXPECT_FALSE(empty.m_Result);
    EXPECT_EQ(empty.m_Error, DWORD(WAIT_TIMEOUT));
    EXPECT_EQ(empty.m_p_Overlapped, nullptr);
    CloseHandle(port);
}

TEST(CompletionPort, WorkPostedInsideTheLayerIsDoneByTheTakerAndNeverReturned) {
    n_Platform::c_CompletionPort port;
    static ULONG_PTR s_Done = 0;
    ASSERT_TRUE(port.Post({0, 42, nullptr, 0, [](ULONG_PTR argument) { s_Done = argument; }}));
    OVERLAPPED record = {};
    ASSERT_TRUE(port.Post({5, 7, &record, 0}));
    n_Platform::s_CompletionPacket packet{};
    ASSERT_EQ(port.Take(0, packet), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(s_Done, 42u);
    EXPECT_EQ(packet.m_p_Overlapped, &record);
    EXPECT_EQ(port.Take(0, packet), DWORD(WAIT_TIMEOUT));
}

TEST(CompletionPort, APacketPostedFromAnotherThreadWakesTheWaiter) {
    HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0);
    s_Taken taken;
    std::thread waiter([&] { taken = Take(port, INFINITE); });
    PostQueuedCompletionStatus(port, 7, 1100000, nullptr);
    waiter.join();
    EXPECT_TRUE(taken.m_Result);
    EXPECT_EQ(taken.m_Bytes, 7u);
    EXPECT_EQ(taken.m_Key, 1100000u);
    CloseHandle(port);
}

TEST(CompletionPort, TimesOutWhenTheTestClockPassesTheTimeOut) {
    n_Platform::c_TestClock clock;
    HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0);
    s_Taken taken;
    taken.m_Result = TRUE;
    std::thread waiter([&] { taken = Take(port, 1000); });
    ASSERT_TRUE(n_Platform::WaitForTimedSleepers(1));
    clock.Advance(999);
    ASSERT_TRUE(n_Platform::WaitForTimedSleepers(1));
    clock.Advance(1);
    waiter.join();
    EXPECT_FALSE(taken.m_Result);
    EXPECT_EQ(taken.m_Error, DWORD(WAIT_TIMEOUT));
    EXPECT_EQ(taken.m_p_Overlapped, nullptr);
    CloseHandle(port);
}

TEST(CompletionPort, ClosingThePortWakesTheWaiter) {
    // On the test clock the waiter is seen asleep before the port is closed.
    n_Platform::c_TestClock clock;
    HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0);
    s_Taken taken;
    taken.m_Result = TRUE;
    std::thread waiter([&] { taken = Take(port, 60000); });
    ASSERT_TRUE(n_Platform::WaitForTimedSleepers(1));
    CloseHandle(port);
    waiter.join();
    EXPECT_FALSE(taken.m_Result);
    EXPECT_EQ(taken.m_Error, DWORD(ERROR_ABANDONED_WAIT_0));
    EXPECT_EQ(taken.m_p_Overlapped, nullptr);
    EXPECT_FALSE(PostQueuedCompletionStatus(port, 0, 0, nullptr));
}

} // namespace
