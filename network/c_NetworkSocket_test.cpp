// Tests of network sockets against scripted peers in the test's own process, and of the send
// hold-back rule.

#include "network/c_NetworkSocket.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_PeerConnection.h"
#include "network/testing/c_TestSocketOwner.h"
#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"
#include "textutil/testing/FailingOperatorNew.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

// The send side's rule and delay, one row per case.
struct s_HoldBackCase {
    const char* m_Name;
    std::int32_t m_BaseDelay;
    std::int32_t m_InTransfer;
    bool m_Flush;
    std::int32_t m_CurrentBytes;
    bool m_HeldBack;
    std::int32_t m_DelayMilliseconds;
};

const s_HoldBackCase HOLD_BACK_CASES[] = {
    {"TwoInTransferSendsAtOnce", 0, 2, false, 10, false, 0},
    {"ThreeInTransferWaitsForTheFlush", 0, 3, false, 10, true, 75},
    {"ThreeInTransferWithAMebibyteSendsAtOnce", 0, 3, false, 1048576, false, 75},
    {"JustBelowAMebibyteWaits", 0, 3, false, 1048575, true, 75},
    {"FlushSendsWithThreeInTransfer", 0, 3, true, 10, false, 75},
    {"NineteenNineInTransferNeverSendsEvenWithFlush", 0, 199, true, 1048576, true, 1500},
    {"HundredInTransferWithoutBaseStopsAt1500", 0, 100, false, 10, true, 1500},
    {"BaseDelayWithoutTransfer", 100, 0, false, 10, false, 100},
    {"BaseDelayCapsAt5000", 100, 199, false, 10, true, 5000},
    {"NegativeBaseCountsAsZero", -40, 1, false, 10, false, 0},
};

class HoldBack : public testing::TestWithParam<s_HoldBackCase> {};

TEST_P(HoldBack, DecidesAndDelays) {
    const s_HoldBackCase& row = GetParam();
    EXPECT_EQ(c_NetworkSocket::IsHeldBack(row.m_Flush, row.m_InTransfer, row.m_CurrentBytes), row.m_HeldBack);
    c_NetworkSocket socket("Table", false, 0);
    socket.m_DelayedSendMilliseconds = row.m_BaseDelay;
    socket.m_SendBuffersInUse = row.m_InTransfer;
    EXPECT_EQ(socket.GetDelayedSendMilliseconds(), row.m_DelayMilliseconds);
    socket.m_SendBuffersInUse = 0;
}

INSTANTIATE_TEST_SUITE_P(Rows, HoldBack, testing::ValuesIn(HOLD_BACK_CASES),
                         [](const testing::TestParamInfo<s_HoldBackCase>& info) { return info.param.m_Name; });

// Two received entries, "abc" and "de", taken by an owner that refuses the second the first time.
TEST(ReceivedData, ARefusedEntryAndTheLaterOnesStayForTheNextTake) {
    c_NetworkSocket socket("Entries", false, 0);
    const char* texts[] = {"abc", "de"};
    for (std::int32_t index = 0; index < 2; ++index) {
        ASSERT_TRUE(socket.m_ReceiveBuffers[static_cast<std::size_t>(index)].Append(
            reinterpret_cast<const std::uint8_t*>(texts[index]), static_cast<int>(std::strlen(texts[index]))));
        const auto count = static_cast<std::int32_t>(std::strlen(texts[index]));
        socket.m_ReceivedBuffers.push_back({index, false, count, false});
        socket.m_ReceivedBytes += static_cast<std::uint32_t>(count);
    }
    std::string seen;
    EXPECT_FALSE(socket.ReadReceivedData([&](s_ByteSpan bytes) {
        if (!seen.empty()) {
            return false;
        }
        seen.assign(static_cast<const char*>(bytes.m_p_Data), bytes.m_Size);
        return true;
    }));
    EXPECT_EQ(seen, "abc");
    EXPECT_TRUE(socket.m_ReceivedBuffers[0].m_Consumed);
    EXPECT_FALSE(socket.m_ReceivedBuffers[1].m_Consumed);
    EXPECT_EQ(socket.GetReceivedBytes(), 2u);

    c_ByteBuffer target;
    EXPECT_TRUE(socket.TakeReceivedData(target));
    const c_StringView taken = target.GetView();
    EXPECT_EQ(std::string(taken.begin(), taken.end()), "de");
    EXPECT_EQ(socket.GetReceivedBytes(), 0u);
}

// A connected owner and the peer's descriptor.
class ScriptedPeer : public testing::Test, protected c_PeerConnection {
protected:
    void SetUp() override { ASSERT_TRUE(Open()); }
    void TearDown() override { Close(); }
    std::string Prefix() const { return "TestSocket (" + std::to_string(m_p_Owner->GetIndex()) + ") | "; }

    // Until every write has come back, within the test's real-time limit.
    bool WaitUntilNoWriteIsOutstanding() {
        return n_Platform::WaitUntil([&] {
            c_CriticalSectionLock lock;
            c_NetworkSocket* socket = m_p_Owner->Find(lock);
            return socket == nullptr || socket->GetSendBuffersInUse() == 0;
        });
    }

    c_CoreSession m_Session;
};

TEST_F(ScriptedPeer, ResetInMidStreamIsAnErrorNotAClose) {
    ASSERT_TRUE(n_PosixPeer::SendAll(m_Peer, "partial", 7));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_p_Owner->m_Received.GetSize() == 7; }));
    n_PosixPeer::CloseWithReset(m_Peer);
    m_Peer = -1;
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_p_Owner->HasEvent(SOCKET_EVENT_ERROR); }));
    EXPECT_FALSE(m_p_Owner->HasEvent(SOCKET_EVENT_CLOSED_BY_REMOTE));
    EXPECT_FALSE(m_Session.HasLine(Prefix() + "Socket gracefully closed by remote side."));
}

// How a write completion is reported, one row per outcome.
struct s_WriteCase {
    const char* m_Name;
    std::uint32_t m_Bytes;
    std::uint32_t m_Error;
    bool m_Failed;
};

const s_WriteCase WRITE_CASES[] = {
    {"WholeWriteIsComplete", 10, 0, false},
    {"ShortWriteIsAnError", 4, 0, true},
    {"ResetWriteIsAnError", 0, WSAECONNRESET, true},
    {"FailedWholeCountIsAnError", 10, WSAECONNABORTED, true},
};

class WriteCompletion : public ScriptedPeer, public testing::WithParamInterface<s_WriteCase> {};

TEST_P(WriteCompletion, ReportsErrorOrSendComplete) {
    const s_WriteCase& row = GetParam();
    {
        c_CriticalSectionLock lock;
        c_NetworkSocket* socket = m_p_Owner->Find(lock);
        ASSERT_NE(socket, nullptr);
        // A write of 10 bytes in transfer in the current buffer, completed as the row says.
        const std::int32_t index = socket->m_CurrentSendBuffer;
        socket->m_SendBufferStates[static_cast<std::size_t>(index)] = c_NetworkSocket::SEND_BUFFER_STATE_IN_TRANSFER;
        ++socket->m_SendBuffersInUse;
        s_SocketIORecord record{};
        record.m_BufferIndex = index;
        record.m_Write = true;
        record.m_Buffer.len = 10;
        socket->OnWriteCompleted(&record, row.m_Bytes, row.m_Error, lock);
        EXPECT_EQ(socket->m_Error, row.m_Failed);
    }
    const UINT expected = row.m_Failed ? SOCKET_EVENT_ERROR : SOCKET_EVENT_SEND_COMPLETE;
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_p_Owner->HasEvent(expected); }));
    n_Platform::PumpPending();
    EXPECT_EQ(m_p_Owner->HasEvent(SOCKET_EVENT_SEND_COMPLETE), !row.m_Failed);
    EXPECT_EQ(m_p_Owner->HasEvent(SOCKET_EVENT_ERROR), row.m_Failed);
}

INSTANTIATE_TEST_SUITE_P(Rows, WriteCompletion, testing::ValuesIn(WRITE_CASES),
                         [](const testing::TestParamInfo<s_WriteCase>& info) { return info.param.m_Name; });

TEST_F(ScriptedPeer, ResetWhileWritesWaitIsAnErrorAndNeverSendComplete) {
    FillUntilWritesWait();
    ASSERT_GT(m_p_Owner->GetPendingSendBytes(), 0u);
    n_PosixPeer::CloseWithReset(m_Peer);
    m_Peer = -1;
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_p_Owner->HasEvent(SOCKET_EVENT_ERROR); }));
    ASSERT_TRUE(WaitUntilNoWriteIsOutstanding());
    n_Platform::PumpPending();
    // Writes that drained before the reset may still report; none does once the error is out.
    const std::vector<UINT>& events = m_p_Owner->m_Events;
    const auto error = std::find(events.begin(), events.end(), UINT(SOCKET_EVENT_ERROR));
    EXPECT_EQ(std::count(error, events.end(), UINT(SOCKET_EVENT_SEND_COMPLETE)), 0);
}

// A receive that completes when no memory is left to record it: the owner hears of it and the socket
// closes, so the bytes are never dropped unnoticed.
TEST_F(ScriptedPeer, NoMemoryForAReceivedEntryPostsOutOfMemoryAndCloses) {
    {
        c_CriticalSectionLock lock;
        c_NetworkSocket* socket = m_p_Owner->Find(lock);
        ASSERT_NE(socket, nullptr);
        // One more receive than the socket keeps posted, so the completion reposts nothing first.
        ++socket->m_ReceivesPosted;
        s_SocketIORecord record{};
        record.m_BufferIndex = 0;
        record.m_Buffer.len = 100;
        n_TestAllocation::FailNthOperatorNew(1);
        socket->OnReceiveCompleted(&record, 10, 0, lock);
        n_TestAllocation::FailNthOperatorNew(0);
        EXPECT_FALSE(socket->IsValid());
        EXPECT_EQ(socket->GetReceivedBytes(), 0u);
    }
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_p_Owner->HasEvent(SOCKET_EVENT_OUT_OF_MEMORY); }));
    n_Platform::PumpPending();
    EXPECT_FALSE(m_p_Owner->HasEvent(SOCKET_EVENT_DATA_RECEIVED));
    EXPECT_TRUE(m_Session.HasLine(Prefix() + "Closed."));
    EXPECT_EQ(n_PosixPeer::ReadUntilEnd(m_Peer), 0);
}

TEST_F(ScriptedPeer, SilentPeerKeepsTheShutdownWaitingUntilItCloses) {
    m_p_Owner->Close();
    ASSERT_TRUE(m_Session.WaitForLine(Prefix() + "Shutdown started.  Waiting for graceful close."));
    EXPECT_FALSE(m_Session.HasLine(Prefix() + "Closed."));
    EXPECT_EQ(n_PosixPeer::ReadUntilEnd(m_Peer), 0);

    n_PosixPeer::Close(m_Peer);
    m_Peer = -1;
    ASSERT_TRUE(m_Session.WaitForLine(Prefix() + "Closed."));
    EXPECT_TRUE(
        m_Session.HasLinesInOrder({Prefix() + "Shutdown started.  Waiting for graceful close.",
                                   Prefix() + "Socket gracefully closed by remote side.", Prefix() + "Closed."}));
    EXPECT_TRUE(m_p_Owner->m_Events.size() == 1);
}

TEST_F(ScriptedPeer, OneByteDripArrivesWholeAndInOrder) {
    std::string sent;
    for (int byte = 0; byte < 300; ++byte) {
        const char c = static_cast<char>('A' + byte % 26);
        ASSERT_TRUE(n_PosixPeer::SendAll(m_Peer, &c, 1));
        sent += c;
        if (byte % 7 == 0) {
            n_Platform::PumpPending();
        }
    }
    n_PosixPeer::ShutdownSending(m_Peer);
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_p_Owner->HasEvent(SOCKET_EVENT_CLOSED_BY_REMOTE); }));
    const c_StringView received = m_p_Owner->m_Received.GetView();
    EXPECT_EQ(std::string(received.begin(), received.end()), sent);
}

TEST_F(ScriptedPeer, HalfCloseStillCarriesTheOwnersReply) {
    n_PosixPeer::ShutdownSending(m_Peer);
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_p_Owner->HasEvent(SOCKET_EVENT_CLOSED_BY_REMOTE); }));
    const std::uint8_t reply[] = {'b', 'y', 'e'};
    ASSERT_EQ(m_p_Owner->Send(reply, sizeof reply), sizeof reply);
    char buffer[3] = {};
    ASSERT_TRUE(n_PosixPeer::ReceiveAll(m_Peer, buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer, sizeof buffer), "bye");
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_p_Owner->HasEvent(SOCKET_EVENT_SEND_COMPLETE); }));

    m_p_Owner->Close();
    EXPECT_EQ(n_PosixPeer::ReadUntilEnd(m_Peer), 0);
    ASSERT_TRUE(m_Session.WaitForLine(Prefix() + "Closed."));
    EXPECT_TRUE(m_Session.HasLine(Prefix() +
                                  "Graceful close received or receive error. Shutdown complete. Closing socket now."));
}

TEST_F(ScriptedPeer, ResizeFlagGivesIdleReceiveBuffersTheCurrentSizeOnce) {
    // One arrival and its taking leave a buffer idle in the available list.
    const auto arrive = [&](const char* text) {
        const std::size_t before = m_p_Owner->m_Received.GetSize();
        ASSERT_TRUE(n_PosixPeer::SendAll(m_Peer, text, std::strlen(text)));
        ASSERT_TRUE(
            n_Platform::PumpUntil([&] { return m_p_Owner->m_Received.GetSize() == before + std::strlen(text); }));
    };
    arrive("first");
    std::vector<std::int32_t> idle;
    std::int32_t larger = 0;
    ASSERT_TRUE(n_Platform::WaitUntil([&] {
        c_CriticalSectionLock lock;
        c_NetworkSocket* socket = m_p_Owner->Find(lock);
        idle = socket->m_AvailableReceiveBuffers;
        if (idle.empty()) {
            return false;
        }
        larger = socket->m_ReceiveBufferSize * 2;
        socket->m_ReceiveBufferSize = larger;
        socket->m_ResizeIdleReceiveBuffers = true;
        return true;
    }));
    arrive("second");
    c_CriticalSectionLock lock;
    c_NetworkSocket* socket = m_p_Owner->Find(lock);
    ASSERT_NE(socket, nullptr);
    EXPECT_FALSE(socket->m_ResizeIdleReceiveBuffers);
    for (const std::int32_t index : idle) {
        EXPECT_GE(socket->m_ReceiveBuffers[static_cast<std::size_t>(index)].GetCapacity(), larger) << index;
    }
}

} // namespace
