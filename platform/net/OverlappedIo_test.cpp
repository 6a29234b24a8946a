// Conformance of overlapped sends and receives against a loopback peer that uses the system's own
// socket calls: whole transfers, order, the peer's close and reset, cancellation.

#include "platform/testing/LoopbackPair.h"
#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr DWORD RECEIVE_SIZE = 31 * 1024;
constexpr int POSTED_RECEIVES = 16;
constexpr std::size_t TRANSFER_SIZE = 64 * 1024 * 1024;
constexpr ULONG_PTR KEY = 1100005;

unsigned char PatternByte(std::size_t offset) {
    return static_cast<unsigned char>((offset * 131 + offset / 4093) & 0xff);
}

std::vector<unsigned char> MakePattern(std::size_t offset, std::size_t length) {
    std::vector<unsigned char> bytes(length);
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = PatternByte(offset + i);
    }
    return bytes;
}

struct s_Completion {
    BOOL m_Result = FALSE;
    DWORD m_Error = 0;
    DWORD m_Bytes = 0;
    LPOVERLAPPED m_p_Overlapped = nullptr;
};

class OverlappedIo : public ::testing::Test {
protected:
    OverlappedIo() : m_Port(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 0)) {
        CreateIoCompletionPort(reinterpret_cast<HANDLE>(m_Pair.m_Socket), m_Port, KEY, 0);
    }
    ~OverlappedIo() override { CloseHandle(m_Port); }

    // A completion that never comes fails the test instead of hanging it.
    s_Completion Next() {
        s_Completion completion;
        ULONG_PTR key = 0;
        completion.m_Result = GetQueuedCompletionStatus(m_Port, &completion.m_Bytes, &key, &completion.m_p_Overlapped,
                                                        n_Platform::PROMPTLY_MS);
        completion.m_Error = completion.m_Result ? 0 : GetLastError();
        return completion;
    }

    int PostReceive(OVERLAPPED& overlapped, char* buffer, DWORD length) {
        WSABUF wsabuf{length, buffer};
        DWORD flags = 0;
        return WSARecv(m_Pair.m_Socket, &wsabuf, 1, nullptr, &flags, &overlapped, nullptr);
    }

    int PostSend(OVERLAPPED& overlapped, const void* data, DWORD length) {
        WSABUF wsabuf{length, static_cast<char*>(const_cast<void*>(data))};
        return WSASend(m_Pair.m_Socket, &wsabuf, 1, nullptr, 0, &overlapped, nullptr);
    }

    n_Platform::c_WinsockSession m_Session;
    n_Platform::c_LoopbackPair m_Pair;
    HANDLE m_Port;
};

TEST_F(OverlappedIo, SixtyFourMiBArriveIntactThroughPostedReceives) {
    std::thread peer([fd = m_Pair.m_Peer] {
        for (std::size_t offset = 0; offset < TRANSFER_SIZE; offset += 1 << 20) {
            const std::vector<unsigned char> chunk = MakePattern(offset, 1 << 20);
            n_PosixPeer::SendAll(fd, chunk.data(), chunk.size());
        }
        n_PosixPeer::ShutdownSending(fd);
    });
    std::vector<std::vector<char>> buffers(POSTED_RECEIVES, std::vector<char>(RECEIVE_SIZE));
    std::vector<OVERLAPPED> records(POSTED_RECEIVES);
    for (int i = 0; i < POSTED_RECEIVES; ++i) {
        PostReceive(records[i], buffers[i].data(), RECEIVE_SIZE);
    }
    std::size_t received = 0;
    bool intact = true;
    for (int open = POSTED_RECEIVES; open > 0;) {
        const s_Completion completion = Next();
        ASSERT_TRUE(completion.m_Result) << completion.m_Error;
        const std::size_t index = std::size_t(completion.m_p_Overlapped - records.data());
        if (completion.m_Bytes == 0) {
            --open;
            continue;
        }
        for (DWORD i = 0; i < completion.m_Bytes && intact; ++i) {
            intact = static_cast<unsigned char>(buffers[index][i]) == PatternByte(received + i);
        }
        received += completion.m_Bytes;
        PostReceive(records[index], buffers[index].data(), RECEIVE_SIZE);
    }
    peer.join();
    EXPECT_TRUE(intact);
    EXPECT_EQ(received, TRANSFER_SIZE);
}

TEST_F(OverlappedIo, SixtyFourMiBLeaveIntactThroughQueuedSends) {
    constexpr std::size_t CHUNK = 1 << 20;
    const std::vector<unsigned char> data = MakePattern(0, TRANSFER_SIZE);
    std::vector<unsigned char> arrived(TRANSFER_SIZE);
    bool complete = false;
    std::thread peer(
        [&, fd = m_Pair.m_Peer] { complete = n_PosixPeer::ReceiveAll(fd, arrived.data(), TRANSFER_SIZE); });
    std::vector<OVERLAPPED> records(TRANSFER_SIZE / CHUNK);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const int result = PostSend(records[i], data.data() + i * CHUNK, CHUNK);
        ASSERT_TRUE(result == 0 || WSAGetLastError() == WSA_IO_PENDING) << WSAGetLastError();
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const s_Completion completion = Next();
        EXPECT_TRUE(completion.m_Result);
        EXPECT_EQ(completion.m_p_Overlapped, &records[i]) << "sends complete in order";
        EXPECT_EQ(completion.m_Bytes, CHUNK);
    }
    peer.join();
    EXPECT_TRUE(complete);
    EXPECT_TRUE(arrived == data);
}

TEST_F(OverlappedIo, ThreeQueuedSendsArriveInOrder) {
    const char* texts[] = {"first ", "second ", "third"};
    OVERLAPPED records[3] = {};
    for (int i = 0; i < 3; ++i) {
        PostSend(records[i], texts[i], DWORD(std::strlen(texts[i])));
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Next().m_p_Overlapped, &records[i]);
    }
    char arrived[19] = {};
    ASSERT_TRUE(n_PosixPeer::ReceiveAll(m_Pair.m_Peer, arrived, 18));
    EXPECT_STREQ(arrived, "first second third");
}

TEST_F(OverlappedIo, BytesArrivingTogetherFillThePostedReceivesInOrder) {
    char buffers[3][4];
    OVERLAPPED records[3] = {};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(PostReceive(records[i], buffers[i], sizeof buffers[i]), SOCKET_ERROR);
    }
    n_PosixPeer::SendAll(m_Pair.m_Peer, "abcdefghij", 10);
    const char* expected[] = {"abcd", "efgh", "ij"};
    for (int i = 0; i < 3; ++i) {
        const s_Completion completion = Next();
        EXPECT_TRUE(completion.m_Result);
        EXPECT_EQ(completion.m_p_Overlapped, &records[i]);
        EXPECT_EQ(std::string(buffers[i], completion.m_Bytes), expected[i]);
    }
}

// Receives handed to the port and back change what the socket is watched for; a send waiting for
// room must keep its watch through that.
TEST_F(OverlappedIo, ASendWaitingForRoomCompletesAfterAReceiveCameAndWent) {
    const std::vector<char> data(TRANSFER_SIZE / 2, 'x');
    OVERLAPPED sendRecord = {};
    ASSERT_EQ(PostSend(sendRecord, data.data(), DWORD(data.size())), SOCKET_ERROR);
    ASSERT_EQ(WSAGetLastError(), WSA_IO_PENDING);
    char buffer[8];
    OVERLAPPED receiveRecord = {};
    PostReceive(receiveRecord, buffer, sizeof buffer);
    n_PosixPeer::SendAll(m_Pair.m_Peer, "ping", 4);
    EXPECT_EQ(Next().m_p_Overlapped, &receiveRecord);
    bool drained = false;
    std::thread peer([&, fd = m_Pair.m_Peer] {
        drained = n_PosixPeer::ReceiveAll(fd, std::vector<char>(data.size()).data(), data.size());
    });
    const s_Completion completion = Next();
    if (completion.m_p_Overlapped == nullptr) {
        // Ends the peer's wait for bytes that will never come.
        closesocket(m_Pair.m_Socket);
    }
    peer.join();
    EXPECT_TRUE(drained);
    EXPECT_EQ(completion.m_p_Overlapped, &sendRecord);
    EXPECT_EQ(completion.m_Bytes, data.size());
}

// The peer's end completes every pending receive with 0 bytes and the end's status.
struct s_EndCase {
    const char* m_Name;
    bool m_Reset;
    BOOL m_Result;
    DWORD m_Error;
};

class PeerEnd : public OverlappedIo, public ::testing::WithParamInterface<s_EndCase> {};

TEST_P(PeerEnd, CompletesEveryPendingReceive) {
    char buffers[3][64];
    OVERLAPPED records[3] = {};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(PostReceive(records[i], buffers[i], sizeof buffers[i]), SOCKET_ERROR);
        ASSERT_EQ(WSAGetLastError(), WSA_IO_PENDING);
    }
    const int peer = m_Pair.TakePeer();
    if (GetParam().m_Reset) {
        n_PosixPeer::CloseWithReset(peer);
    } else {
        n_PosixPeer::ShutdownSending(peer);
    }
    for (int i = 0; i < 3; ++i) {
        const s_Completion completion = Next();
        EXPECT_EQ(completion.m_Result, GetParam().m_Result);
        EXPECT_EQ(completion.m_Error, GetParam().m_Error);
        EXPECT_EQ(completion.m_Bytes, 0u);
        EXPECT_EQ(completion.m_p_Overlapped, &records[i]);
    }
    if (!GetParam().m_Reset) {
        n_PosixPeer::Close(peer);
    }
}

INSTANTIATE_TEST_SUITE_P(Ends, PeerEnd,
                         ::testing::Values(s_EndCase{"OrderlyCloseGivesZero", false, TRUE, 0},
                                           s_EndCase{"ResetGives10054", true, FALSE, WSAECONNRESET}),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST_F(OverlappedIo, SendingToAResetPeerFailsWithoutASignal) {
    n_PosixPeer::CloseWithReset(m_Pair.TakePeer());
    const std::vector<char> data(64 * 1024, 'x');
    DWORD error = 0;
    // The first send may still be taken before the reset is known; a later one fails.
    for (int attempt = 0; attempt < 64 && error == 0; ++attempt) {
        OVERLAPPED record = {};
        if (PostSend(record, data.data(), DWORD(data.size())) == SOCKET_ERROR && WSAGetLastError() != WSA_IO_PENDING) {
            error = DWORD(WSAGetLastError());
            break;
        }
        const s_Completion completion = Next();
        error = completion.m_Result ? 0 : completion.m_Error;
    }
    EXPECT_EQ(error, DWORD(WSAECONNRESET));
}

TEST_F(OverlappedIo, CancelIoAbortsPendingReceivesAndNeverTouchesTheirBuffers) {
    char buffers[3][16];
    OVERLAPPED records[3] = {};
    for (int i = 0; i < 3; ++i) {
        PostReceive(records[i], buffers[i], sizeof buffers[i]);
    }
    ASSERT_TRUE(CancelIo(reinterpret_cast<HANDLE>(m_Pair.m_Socket)));
    for (int i = 0; i < 3; ++i) {
        const s_Completion completion = Next();
        EXPECT_FALSE(completion.m_Result);
        EXPECT_EQ(completion.m_Error, DWORD(ERROR_OPERATION_ABORTED));
        EXPECT_EQ(completion.m_p_Overlapped, &records[i]);
    }
    std::memset(buffers, 'S', sizeof buffers);
    char fresh[16] = {};
    OVERLAPPED freshRecord = {};
    PostReceive(freshRecord, fresh, sizeof fresh);
    n_PosixPeer::SendAll(m_Pair.m_Peer, "data after", 10);
    const s_Completion completion = Next();
    EXPECT_EQ(completion.m_p_Overlapped, &freshRecord);
    EXPECT_EQ(std::string(fresh, completion.m_Bytes), "data after");
    for (const auto& buffer : buffers) {
        EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, 'S'));
    }
}

TEST_F(OverlappedIo, ClosingTheSocketAbortsPendingReceives) {
    char buffer[16];
    OVERLAPPED record = {};
    PostReceive(record, buffer, sizeof buffer);
    closesocket(m_Pair.m_Socket);
    const s_Completion completion = Next();
    EXPECT_FALSE(completion.m_Result);
    EXPECT_EQ(completion.m_Error, DWORD(ERROR_OPERATION_ABORTED));
    EXPECT_EQ(completion.m_p_Overlapped, &record);
}

} // namespace
