// Tests of the buffered socket's datagram side against a datagram peer in the test's own process:
// sends split into datagrams on an adopted UDP socket, and the multicast receiver on 127.0.0.1.

#include "protocols/socket/c_BufferedSocket2.h"

#include "network/testing/c_CoreSession.h"
#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"
#include "protocols/socket/testing/c_TestBufferedSocketOwner.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t LOOPBACK = 0x7F000001;
constexpr std::int32_t LARGEST_LOOPBACK_DATAGRAM = 65507;

// A text of count bytes that shows where each byte came from.
std::string Pattern(std::size_t count, char first) {
    std::string text(count, first);
    for (std::size_t index = 0; index < count; ++index) {
        text[index] = static_cast<char>(first + index % 23);
    }
    return text;
}

class c_DatagramFixture {
protected:
    c_DatagramFixture() { m_Peer = n_PosixPeer::BindDatagram(&m_PeerPort); }
    ~c_DatagramFixture() {
        m_p_Socket.reset();
        n_PosixPeer::Close(m_Peer);
    }

    std::string Line(const std::string& text) const {
        c_CriticalSectionLock lock;
        return "Datagrams (" + std::to_string(m_p_Socket->GetNetworkSocketID(lock)) + ") | " + text;
    }

    c_CoreSession m_Session;
    c_TestBufferedSocketOwner m_Owner;
    std::unique_ptr<c_BufferedSocket2> m_p_Socket = std::make_unique<c_BufferedSocket2>(&m_Owner, "Datagrams");
    int m_Peer = -1;
    std::uint16_t m_PeerPort = 0;
};

// A UDP socket of the test's own, adopted as connection kind 1 with the peer as its destination.
class BufferedSocket2Datagrams : public testing::Test, protected c_DatagramFixture {
protected:
    void SetUp() override {
        c_SocketWrapper udp;
        ASSERT_TRUE(udp.CreateUDP());
        ASSERT_TRUE(udp.Bind(0, LOOPBACK));
        c_CriticalSectionLock lock;
        ASSERT_TRUE(m_p_Socket->AdoptConnection(std::move(udp), 0, c_NetworkSocket::KIND_UDP, false, LOOPBACK,
                                                m_PeerPort, 0, 0, 0, lock));
        ASSERT_EQ(m_p_Socket->GetMaxMessageSize(lock), LARGEST_LOOPBACK_DATAGRAM);
    }
    bool Send(const std::string& bytes, std::int32_t queueOnly) {
        c_CriticalSectionLock lock;
        return m_p_Socket->Send(bytes.data(), static_cast<std::int64_t>(bytes.size()), queueOnly, lock);
    }
    // Empty when no datagram comes, rather than waiting for ever.
    std::string ReceiveAtPeer() {
        if (!n_PosixPeer::WaitForDatagram(m_Peer, 10000)) {
            return std::string();
        }
        std::vector<char> buffer(70000);
        std::uint16_t from = 0;
        const long length = n_PosixPeer::ReceiveDatagram(m_Peer, buffer.data(), buffer.size(), &from);
        return length < 0 ? std::string() : std::string(buffer.data(), static_cast<std::size_t>(length));
    }
};

struct s_SendStep {
    std::size_t m_Bytes;
    std::int32_t m_QueueOnly;
};

struct s_DatagramCase {
    const char* m_Name;
    std::vector<s_SendStep> m_Steps;
    // Flushed with SendQueuedData after the steps.
    bool m_Flush;
    std::vector<std::size_t> m_Datagrams;
};

const s_DatagramCase DATAGRAM_CASES[] = {
    {"SmallSendIsOneDatagram", {{5, 0}}, false, {5}},
    {"LargeSendIsSplitAtTheLargestMessage", {{70000, 0}}, false, {65507, 4493}},
    {"QueuedSendsWaitForTheFlushAndShareADatagram", {{3, 1}, {4, 1}}, true, {7}},
    {"QueuedBytesAreToppedUpToTheLargestMessageOnly", {{60000, 1}, {10000, 0}}, false, {65507, 4493}},
};

class BufferedSocket2DatagramSplit : public BufferedSocket2Datagrams,
                                     public testing::WithParamInterface<s_DatagramCase> {};

TEST_P(BufferedSocket2DatagramSplit, SendsArriveAsDatagramsInOrder) {
    std::string sent;
    for (const s_SendStep& step : GetParam().m_Steps) {
        const std::string bytes = Pattern(step.m_Bytes, static_cast<char>('a' + sent.size() % 7));
        ASSERT_TRUE(Send(bytes, step.m_QueueOnly));
        sent += bytes;
    }
    if (GetParam().m_Flush) {
        c_CriticalSectionLock lock;
        ASSERT_TRUE(m_p_Socket->SendQueuedData(lock));
    }
    std::string received;
    for (const std::size_t size : GetParam().m_Datagrams) {
        const std::string datagram = ReceiveAtPeer();
        EXPECT_EQ(datagram.size(), size);
        received += datagram;
    }
    EXPECT_EQ(received, sent);
}

INSTANTIATE_TEST_SUITE_P(Rows, BufferedSocket2DatagramSplit, testing::ValuesIn(DATAGRAM_CASES),
                         [](const testing::TestParamInfo<s_DatagramCase>& info) { return info.param.m_Name; });

TEST_F(BufferedSocket2Datagrams, ASendPastTheLimitClosesAndEveryLaterSendIsRefused) {
    c_CriticalSectionLock lock;
    ASSERT_EQ(m_p_Socket->SetSendBufferSizeLimit(2048, lock), 2048u);
    lock.Unlock();
    ASSERT_TRUE(Send(Pattern(2048, 'a'), 1));
    EXPECT_FALSE(Send("x", 1));
    EXPECT_FALSE(Send("y", 0));
    ASSERT_TRUE(m_Session.WaitForLine(Line("Buffer limit of 2048 bytes reached. Closing socket.")));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("closed"); }));
}

// The multicast receiver: bound to its port on 127.0.0.1 and joined to the group.
class BufferedSocket2Multicast : public testing::Test, protected c_DatagramFixture {
protected:
    bool Open(const char* interfaceAddress, const char* group) {
        c_CriticalSectionLock lock;
        return m_p_Socket->OpenMulticast(interfaceAddress, group, m_Port, lock);
    }
    bool GroupSends(const std::string& text) const {
        return n_PosixPeer::SendMulticastDatagram(m_Peer, GROUP, m_Port, text.data(), text.size());
    }

    static constexpr std::uint32_t GROUP = 0xEFFF2A63;
    std::uint16_t m_Port = n_PosixPeer::FindClosedPort();
};

TEST_F(BufferedSocket2Multicast, JoinsTheGroupAndHandsItsDatagramsToTheOwner) {
    ASSERT_TRUE(Open(" 127.0.0.1 ", " 239.255.42.99 "));
    EXPECT_EQ(m_p_Socket->GetRemoteName(), "239.255.42.99");
    EXPECT_EQ(m_p_Socket->GetConnectPort(), m_Port);
    EXPECT_EQ(m_p_Socket->GetInterfaceAddress(), LOOPBACK);
    EXPECT_EQ(m_p_Socket->GetConnectionKind(), c_NetworkSocket::KIND_MULTICAST);
    EXPECT_EQ(m_p_Socket->GetSocketReceiveBufferSize(), 65536);
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("connected"); }));
    ASSERT_TRUE(GroupSends("to the group"));
    EXPECT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("data:to the group"); }));
}

// A TLS setting left from an earlier connection would make the receiver decrypt datagrams.
TEST_F(BufferedSocket2Multicast, AReceiverAfterATLSConnectionCarriesNoTLS) {
    c_CriticalSectionLock lock;
    ASSERT_TRUE(m_p_Socket->Connect("127.0.0.1", n_PosixPeer::FindClosedPort(), 3, lock));
    lock.Unlock();
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("closed"); }));
    ASSERT_TRUE(Open("127.0.0.1", "239.255.42.99"));
    EXPECT_EQ(m_p_Socket->GetSecurityMethod(), 0);
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("connected"); }));
    ASSERT_TRUE(GroupSends("plain"));
    EXPECT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("data:plain"); }));
}

struct s_EmptyAddressCase {
    const char* m_Name;
    const char* m_Interface;
    const char* m_Group;
    const char* m_Line;
};

class BufferedSocket2MulticastRefusal : public BufferedSocket2Multicast,
                                        public testing::WithParamInterface<s_EmptyAddressCase> {};

TEST_P(BufferedSocket2MulticastRefusal, LogsItsLineAndOpensNothing) {
    EXPECT_FALSE(Open(GetParam().m_Interface, GetParam().m_Group));
    EXPECT_TRUE(m_Session.HasLine(std::string("Datagrams (0) | ") + GetParam().m_Line));
    c_CriticalSectionLock lock;
    EXPECT_TRUE(m_p_Socket->IsDisconnected(lock));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BufferedSocket2MulticastRefusal,
    testing::Values(s_EmptyAddressCase{"BlankInterface", " \t", "239.255.42.99", "Interface address is empty."},
                    s_EmptyAddressCase{"BlankGroup", "127.0.0.1", "  ", "Multicast address is empty."}),
    [](const testing::TestParamInfo<s_EmptyAddressCase>& info) { return info.param.m_Name; });

} // namespace
