// Tests of network sockets against socat on 127.0.0.1, with the test thread as the owner thread.

#include "network/c_NetworkSocket.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_SocatPeer.h"
#include "network/testing/c_TestSocketOwner.h"
#include "oslayer/net/NameLookup.h"
#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"
#include "textutil/Digests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr std::uint32_t PENDING_LIMIT = 8 * 1048576;

std::vector<std::uint8_t> MakeBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    std::mt19937 generator(15);
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(generator());
    }
    return bytes;
}

c_String Digest(const std::uint8_t* data, std::size_t count) {
    return SHA256Base64(c_StringView(reinterpret_cast<const char*>(data), static_cast<int>(count)));
}

// Pumps while the owner keeps receiving, until it has count bytes.
bool PumpUntilReceived(c_TestSocketOwner& owner, std::uint32_t count) {
    std::uint32_t before = 0;
    do {
        before = owner.m_Received.GetSize();
        if (n_Platform::PumpUntil([&] { return owner.m_Received.GetSize() >= count; })) {
            return true;
        }
    } while (owner.m_Received.GetSize() > before);
    return false;
}

class NetworkSocketWithSocat : public testing::Test {
protected:
    c_CoreSession m_Session;
};

TEST_F(NetworkSocketWithSocat, EchoesSixtyFourMebibytesIntact) {
    c_SocatPeer echo("PIPE");
    ASSERT_NE(echo.GetPort(), 0);
    const std::vector<std::uint8_t> data = MakeBytes(64 * 1048576);
    c_TestSocketOwner owner("127.0.0.1", echo.GetPort());
    std::uint32_t sent = 0;
    owner.m_OnProgress = [&] {
        while (sent < data.size() && owner.GetPendingSendBytes() < PENDING_LIMIT) {
            const std::uint32_t taken =
                owner.Send(data.data() + sent, std::min<std::uint32_t>(1048576, data.size() - sent));
            if (taken == 0) {
                return;
            }
            sent += taken;
        }
    };
    ASSERT_TRUE(owner.Connect());
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECTED); }));
    owner.m_OnProgress();

    ASSERT_TRUE(PumpUntilReceived(owner, static_cast<std::uint32_t>(data.size())));
    ASSERT_EQ(owner.m_Received.GetSize(), data.size());
    EXPECT_EQ(Digest(owner.m_Received.GetData(), owner.m_Received.GetSize()), Digest(data.data(), data.size()));
    EXPECT_FALSE(owner.HasEvent(SOCKET_EVENT_ERROR));
}

TEST_F(NetworkSocketWithSocat, TenThousandSmallSendsArriveInOrder) {
    c_SocatPeer echo("PIPE");
    c_TestSocketOwner owner("127.0.0.1", echo.GetPort());
    ASSERT_TRUE(owner.Connect());
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECTED); }));
    std::vector<std::uint8_t> expected;
    for (std::uint32_t message = 0; message < 10000; ++message) {
        std::uint8_t bytes[4];
        std::memcpy(bytes, &message, sizeof bytes);
        ASSERT_EQ(owner.Send(bytes, sizeof bytes), sizeof bytes);
        expected.insert(expected.end(), bytes, bytes + sizeof bytes);
        n_Platform::PumpPending();
    }
    ASSERT_TRUE(PumpUntilReceived(owner, static_cast<std::uint32_t>(expected.size())));
    ASSERT_EQ(owner.m_Received.GetSize(), expected.size());
    EXPECT_EQ(std::memcmp(owner.m_Received.GetData(), expected.data(), expected.size()), 0);
}

TEST_F(NetworkSocketWithSocat, PeersCloseGivesClosedByRemoteAndTheShutdownSequence) {
    c_SocatPeer greeter("SYSTEM:printf hello");
    c_TestSocketOwner owner("127.0.0.1", greeter.GetPort());
    ASSERT_TRUE(owner.Connect());
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CLOSED_BY_REMOTE); }));
    EXPECT_EQ(std::string(owner.m_Received.GetView().begin(), owner.m_Received.GetView().end()), "hello");
    EXPECT_FALSE(owner.HasEvent(SOCKET_EVENT_ERROR));
    const std::string prefix = "TestSocket (" + std::to_string(owner.GetIndex()) + ") | ";

    owner.Close();
    ASSERT_TRUE(m_Session.WaitForLine(prefix + "Closed."));
    EXPECT_TRUE(m_Session.HasLinesInOrder({
        prefix + "Creating socket.",
        prefix + "Connecting to IP: 127.0.0.1.",
        prefix + "Socket gracefully closed by remote side.",
        prefix + "Graceful close received or receive error. Shutdown complete. Closing socket now.",
        prefix + "Closed.",
    }));
}

TEST_F(NetworkSocketWithSocat, OwnersCloseWaitsForThePeersClose) {
    c_SocatPeer echo("PIPE");
    c_TestSocketOwner owner("127.0.0.1", echo.GetPort());
    ASSERT_TRUE(owner.Connect());
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECTED); }));
    const std::string prefix = "TestSocket (" + std::to_string(owner.GetIndex()) + ") | ";

    owner.Close();
    ASSERT_TRUE(m_Session.WaitForLine(prefix + "Closed."));
    EXPECT_TRUE(m_Session.HasLinesInOrder({
        prefix + "Shutdown started.  Waiting for graceful close.",
        prefix + "Socket gracefully closed by remote side.",
        prefix + "Closed.",
    }));
}

TEST_F(NetworkSocketWithSocat, ClosedPortGivesConnectFailed) {
    c_TestSocketOwner owner("127.0.0.1", n_PosixPeer::FindClosedPort());
    ASSERT_TRUE(owner.Connect());
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECT_FAILED); }));
    EXPECT_FALSE(owner.HasEvent(SOCKET_EVENT_CONNECTED));
    const std::string prefix = "TestSocket (" + std::to_string(owner.GetIndex()) + ") | ";
    const c_String refused = GetNetworkErrorText(WSAECONNREFUSED);
    EXPECT_TRUE(m_Session.HasLine(prefix + "Connect event error. " + std::string(refused.begin(), refused.end())));
}

} // namespace
