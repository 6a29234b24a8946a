// A datagram network socket against `socat` echoing on 127.0.0.1.

#include "network/c_NetworkSocket.h"

#include "network/testing/c_CoreSession.h"
#include "network/testing/c_SocatPeer.h"
#include "network/testing/c_TestSocketOwner.h"
#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DatagramEcho, ThroughSocat) {
    c_CoreSession session;
    c_SocatPeer echo("PIPE", "UDP-LISTEN:0,bind=127.0.0.1");
    ASSERT_NE(echo.GetPort(), 0);
    c_TestSocketOwner owner("127.0.0.1", echo.GetPort());
    owner.m_ConnectionKind = c_NetworkSocket::KIND_UDP;
    ASSERT_TRUE(owner.Connect());
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECTED); }));
    std::string expected;
    for (const std::string datagram : {"ping 1", "a longer second datagram", "3"}) {
        ASSERT_TRUE(owner.SendDatagram(reinterpret_cast<const std::uint8_t*>(datagram.data()),
                                       static_cast<std::uint32_t>(datagram.size())));
        expected += datagram;
        ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.m_Received.GetSize() == expected.size(); }));
        EXPECT_EQ(owner.m_ReceivedPieces.back(), datagram.size()) << "one datagram back for one sent";
    }
    EXPECT_EQ(std::string(owner.m_Received.GetView().begin(), owner.m_Received.GetView().end()), expected);
    owner.Close();
}

} // namespace
