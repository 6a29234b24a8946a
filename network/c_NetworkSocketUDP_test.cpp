// Tests of datagram and multicast network sockets against a datagram peer in the test's process.

#include "network/c_NetworkSocket.h"

#include "network/testing/c_CoreSession.h"
#include "network/testing/c_TestSocketOwner.h"
#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::uint32_t LOOPBACK = 0x7F000001;
constexpr std::uint32_t GROUP = 0xEFFF2A63;

class DatagramSocket : public testing::Test {
protected:
    void SetUp() override { m_Peer = n_PosixPeer::BindDatagram(&m_PeerPort); }
    void TearDown() override {
        m_p_Owner.reset();
        n_PosixPeer::Close(m_Peer);
    }
    // An owner of the given kind, connected (or bound) to the port.
    void Connect(std::int32_t kind, std::uint32_t address, std::uint16_t port) {
        m_p_Owner = std::make_unique<c_TestSocketOwner>(c_String(), port);
        m_p_Owner->m_ConnectionKind = kind;
        m_p_Owner->m_InterfaceAddress = LOOPBACK;
        ASSERT_TRUE(m_p_Owner->Connect(address));
        ASSERT_TRUE(n_Platform::PumpUntil([&] {
            return m_p_Owner->HasEvent(SOCKET_EVENT_CONNECTED) || m_p_Owner->HasEvent(SOCKET_EVENT_CONNECT_FAILED);
        }));
    }
    std::string ReceiveAtPeer(std::uint16_t* fromPort) {
        char buffer[2048];
        const long length = n_PosixPeer::ReceiveDatagram(m_Peer, buffer, sizeof buffer, fromPort);
        return length < 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(length));
    }
    std::string Prefix() const { return "TestSocket (" + std::to_string(m_p_Owner->GetIndex()) + ") | "; }

    c_CoreSession m_Session;
    int m_Peer = -1;
    std::uint16_t m_PeerPort = 0;
    std::unique_ptr<c_TestSocketOwner> m_p_Owner;
};

// Three datagrams queued at once go out one at a time, each whole, in order; the answer comes back
// as one received piece.
TEST_F(DatagramSocket, QueuedDatagramsKeepTheirBoundariesAndOrder) {
    Connect(c_NetworkSocket::KIND_UDP, LOOPBACK, m_PeerPort);
    ASSERT_TRUE(m_p_Owner->HasEvent(SOCKET_EVENT_CONNECTED));
    {
        c_CriticalSectionLock lock;
        c_NetworkSocket* socket = m_p_Owner->Find(lock);
        ASSERT_NE(socket, nullptr);
        EXPECT_EQ(socket->GetMaxMessageSize(), 65507);
    }
    const std::string datagrams[] = {"first datagram", "second", "the third and last datagram"};
    for (const std::string& datagram : datagrams) {
        ASSERT_TRUE(m_p_Owner->SendDatagram(reinterpret_cast<const std::uint8_t*>(datagram.data()),
                                            static_cast<std::uint32_t>(datagram.size())));
    }
    std::uint16_t ownerPort = 0;
    for (const std::string& datagram : datagrams) {
        EXPECT_EQ(ReceiveAtPeer(&ownerPort), datagram);
    }
    const std::string answer = "an answer";
    ASSERT_TRUE(n_PosixPeer::SendDatagram(m_Peer, ownerPort, answer.data(), answer.size()));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_p_Owner->m_Received.GetSize() == answer.size(); }));
    EXPECT_EQ(std::string(m_p_Owner->m_Received.GetView().begin(), m_p_Owner->m_Received.GetView().end()), answer);
}

TEST_F(DatagramSocket, AnEmptyDatagramIsNoClose) {
    Connect(c_NetworkSocket::KIND_UDP, LOOPBACK, m_PeerPort);
    const std::string hello = "hello";
    ASSERT_TRUE(m_p_Owner->SendDatagram(reinterpret_cast<const std::uint8_t*>(hello.data()),
                                        static_cast<std::uint32_t>(hello.size())));
    std::uint16_t ownerPort = 0;
    ASSERT_EQ(ReceiveAtPeer(&ownerPort), hello);
    for (int empty = 0; empty < 20; ++empty) {
        ASSERT_TRUE(n_PosixPeer::SendDatagram(m_Peer, ownerPort, "", 0));
    }
    ASSERT_TRUE(n_PosixPeer::SendDatagram(m_Peer, ownerPort, hello.data(), hello.size()));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_p_Owner->m_Received.GetSize() == hello.size(); }));
    EXPECT_FALSE(m_p_Owner->HasEvent(SOCKET_EVENT_CLOSED_BY_REMOTE));
    EXPECT_FALSE(m_p_Owner->HasEvent(SOCKET_EVENT_ERROR));
}

TEST_F(DatagramSocket, AMulticastReceiverJoinsItsGroupOnTheInterfaceAndReceives) {
    const std::uint16_t port = n_PosixPeer::FindClosedPort();
    Connect(c_NetworkSocket::KIND_MULTICAST, GROUP, port);
    ASSERT_TRUE(m_p_Owner->HasEvent(SOCKET_EVENT_CONNECTED));
    EXPECT_TRUE(m_Session.HasLine(Prefix() + "Socket bound to interface 127.0.0.1.  Multicast address 239.255.42.99:" +
                                  std::to_string(port) + "."));
    const std::string datagram = "to the group";
    ASSERT_TRUE(n_PosixPeer::SendMulticastDatagram(m_Peer, GROUP, port, datagram.data(), datagram.size()));
    EXPECT_TRUE(n_Platform::PumpUntil([&] { return m_p_Owner->m_Received.GetSize() == datagram.size(); }));
}

TEST_F(DatagramSocket, AGroupThatIsNoMulticastAddressFailsTheSetUp) {
    const std::uint16_t port = n_PosixPeer::FindClosedPort();
    Connect(c_NetworkSocket::KIND_MULTICAST, 0x7F000002, port);
    EXPECT_TRUE(m_p_Owner->HasEvent(SOCKET_EVENT_CONNECT_FAILED));
    EXPECT_TRUE(m_Session.HasLineStartingWith(Prefix() +
                                              "Error joining multicast group on interface 127.0.0.1 multicast address "
                                              "127.0.0.2:" +
                                              std::to_string(port) + ".  "));
}

} // namespace
