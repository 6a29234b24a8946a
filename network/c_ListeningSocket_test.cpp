// Tests of the listening socket with plain clients, and of adopted network sockets in the server
// role.

#include "network/c_ListeningSocket.h"

#include "network/testing/c_AdoptingListener.h"
#include "network/testing/c_CoreSession.h"
#include "oslayer/net/NameLookup.h"
#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr std::uint32_t LOOPBACK = 0x7F000001;

class ListeningSocket : public testing::Test {
protected:
    void TearDown() override {
        for (int client : m_Clients) {
            n_PosixPeer::Close(client);
        }
        m_Listener.Close();
    }
    std::string Prefix() const {
        return "TestListener (" + std::to_string(static_cast<unsigned long long>(m_Listener.m_Socket.GetHandle())) +
               "). Port " + std::to_string(m_Listener.m_Socket.GetPort()) + " | ";
    }
    void ConnectClients(int count) {
        for (int client = 0; client < count; ++client) {
            m_Clients.push_back(n_PosixPeer::Connect(m_Listener.m_Socket.GetPort()));
        }
    }

    c_CoreSession m_Session;
    c_AdoptingListener m_Listener;
    std::vector<int> m_Clients;
};

TEST_F(ListeningSocket, PortZeroIsRefusedAndChangesNothing) {
    EXPECT_FALSE(m_Listener.m_Socket.Open(0, LOOPBACK));
    EXPECT_TRUE(m_Session.HasLine("TestListener (0). Port 0 | Invalid listening port."));
    EXPECT_FALSE(m_Listener.m_Socket.IsOpen());
    EXPECT_FALSE(m_Listener.m_Socket.IsListening());
    EXPECT_TRUE(m_Listener.m_Socket.Close());
    EXPECT_EQ(m_Listener.m_ClosedCount, 0) << "a socket never opened is not reported closed";
}

TEST_F(ListeningSocket, OpensOnTheRequestedPortOnceAndClosesWithItsOwnerTold) {
    const std::uint16_t port = n_PosixPeer::FindClosedPort();
    ASSERT_TRUE(m_Listener.m_Socket.Open(port, LOOPBACK));
    EXPECT_EQ(m_Listener.m_Socket.GetPort(), port);
    EXPECT_TRUE(m_Listener.m_Socket.IsListening());
    EXPECT_FALSE(m_Listener.m_Socket.Open(port, LOOPBACK)) << "a second open is refused";

    EXPECT_TRUE(m_Listener.m_Socket.Close());
    EXPECT_TRUE(m_Session.HasLine("TestListener (0). Port " + std::to_string(port) + " | Closed listening socket."));
    EXPECT_EQ(m_Listener.m_ClosedCount, 1);
    EXPECT_FALSE(m_Listener.m_Socket.IsOpen());
    EXPECT_EQ(n_PosixPeer::Connect(port), -1) << "nothing listens any more";
}

TEST_F(ListeningSocket, BindingAPortInUseFailsAndLeavesItClosed) {
    std::uint16_t port = 0;
    const int other = n_PosixPeer::Listen(&port, 1);
    EXPECT_FALSE(m_Listener.m_Socket.Open(port, LOOPBACK));
    EXPECT_TRUE(m_Session.HasLineContaining("). Port 0 | Failed to bind socket to 127.0.0.1:" + std::to_string(port) +
                                            ". Windows error code 10048: "));
    EXPECT_FALSE(m_Listener.m_Socket.IsOpen());
    n_PosixPeer::Close(other);
}

// 1500 waiting connections: one pass takes 1000, the next the rest, and the network events bring
// them all in on their own.
TEST_F(ListeningSocket, AcceptsAtMostAThousandPerPass) {
    m_Listener.m_Socket.SetBacklog(2048);
    ASSERT_TRUE(m_Listener.Open());
    ConnectClients(1500);
    ASSERT_EQ(std::count(m_Clients.begin(), m_Clients.end(), -1), 0);

    m_Listener.m_Socket.OnAccept(0);
    EXPECT_EQ(m_Listener.m_ConnectionCount, 1000);
    m_Listener.m_Socket.OnAccept(0);
    EXPECT_EQ(m_Listener.m_ConnectionCount, 1500);

    ConnectClients(1500);
    EXPECT_TRUE(n_Platform::PumpUntil([&] { return m_Listener.m_ConnectionCount == 3000; }));
    EXPECT_EQ(m_Listener.m_PeerAddresses.back(), LOOPBACK);
}

TEST_F(ListeningSocket, AnOwnerThatThrowsDoesNotStopTheLoop) {
    ASSERT_TRUE(m_Listener.Open());
    m_Listener.m_ThrowsLeft = 1;
    ConnectClients(2);
    EXPECT_TRUE(n_Platform::PumpUntil([&] { return m_Listener.m_ConnectionCount == 2; }));
    EXPECT_TRUE(m_Session.HasLine(
        Prefix() + "Caught an unhandled exception from the owner OnListeningSocketConnection in OnAccept."));
    EXPECT_TRUE(m_Listener.m_Socket.IsListening());
}

TEST_F(ListeningSocket, AConnectionTheOwnerLeavesIsClosed) {
    ASSERT_TRUE(m_Listener.Open());
    ConnectClients(1);
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Listener.m_ConnectionCount == 1; }));
    EXPECT_EQ(n_PosixPeer::ReadUntilEnd(m_Clients.back()), 0);
}

// An adopted socket in the server role: no connected event, the adopted socket's options, and data
// both ways with a plain client, then the client's close.
TEST_F(ListeningSocket, AdoptedSocketsCarryDataBothWays) {
    m_Listener.m_Adopt = true;
    ASSERT_TRUE(m_Listener.Open());
    ConnectClients(1);
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Listener.GetLastAdopted() != nullptr; }));
    c_TestSocketOwner& adopted = *m_Listener.GetLastAdopted();
    const std::string prefix = "TestSocket (" + std::to_string(adopted.GetIndex()) + ") | ";

    const std::string request = "request from a plain client";
    ASSERT_TRUE(n_PosixPeer::SendAll(m_Clients[0], request.data(), request.size()));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return adopted.m_Received.GetSize() == request.size(); }));
    EXPECT_EQ(std::string(adopted.m_Received.GetView().begin(), adopted.m_Received.GetView().end()), request);

    std::vector<std::uint8_t> reply(3 * 1048576);
    for (std::size_t at = 0; at < reply.size(); ++at) {
        reply[at] = static_cast<std::uint8_t>(at * 7 + at / 4099);
    }
    std::uint32_t sent = 0;
    while (sent < reply.size()) {
        sent += adopted.Send(reply.data() + sent, static_cast<std::uint32_t>(reply.size()) - sent);
    }
    std::vector<std::uint8_t> arrived(reply.size());
    ASSERT_TRUE(n_PosixPeer::ReceiveAll(m_Clients[0], arrived.data(), arrived.size()));
    EXPECT_EQ(arrived, reply);

    n_PosixPeer::ShutdownSending(m_Clients[0]);
    EXPECT_TRUE(n_Platform::PumpUntil([&] { return adopted.HasEvent(SOCKET_EVENT_CLOSED_BY_REMOTE); }));
    EXPECT_FALSE(adopted.HasEvent(SOCKET_EVENT_CONNECTED)) << "the owner counts itself connected when it adopts";
    EXPECT_TRUE(m_Session.HasLine(prefix + "New receive buffer size: 262144"));
    EXPECT_TRUE(m_Session.WaitForLine(prefix + "Allocated send buffers: 32 of 4096 bytes."));
    adopted.Close();
    EXPECT_EQ(n_PosixPeer::ReadUntilEnd(m_Clients[0]), 0) << "the adopted socket shuts down gracefully";
}

TEST_F(ListeningSocket, AnAdoptionWithoutAnOwnerClosesTheHandle) {
    ASSERT_TRUE(m_Listener.Open());
    ConnectClients(1);
    s_AcceptResult accepted;
    ASSERT_TRUE(n_Platform::WaitUntil([&] {
        accepted = m_Listener.m_Socket.Accept();
        return accepted.m_Ok;
    }));
    std::int32_t index = 7;
    std::uint32_t id = 7;
    c_CriticalSectionLock lock;
    EXPECT_FALSE(m_Session.GetCore()->AdoptConnectedSocket(nullptr, accepted.m_Socket, nullptr, &index, &id, lock));
    EXPECT_FALSE(accepted.m_Socket.IsValid());
    EXPECT_EQ(index, 0);
    EXPECT_EQ(n_PosixPeer::ReadUntilEnd(m_Clients[0]), 0);
}

TEST(LocalHostAddress, IsTheAddressOfTheHostName) {
    c_WinSockInitializer winsock;
    std::uint32_t address = 0;
    ASSERT_TRUE(GetLocalHostIPv4Address(&address));
    char name[128] = {};
    ASSERT_EQ(gethostname(name, sizeof name), 0);
    std::uint32_t expected = 0;
    c_String error;
    ASSERT_TRUE(ResolveIPv4Address(c_String(name), &expected, &error));
    EXPECT_EQ(address, expected);
    EXPECT_NE(address, 0U);
}

} // namespace
