// End-to-end tests of network sockets through `microsocks` on 127.0.0.1: CONNECT by name to a socat
// echo, with and without authentication, and TLS to nginx through the proxy with the target's name.

#include "network/c_NetworkSocket.h"
#include "network/testing/RawHTTPGet.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_MicrosocksProxy.h"
#include "network/testing/c_NginxServer.h"
#include "network/testing/c_SocatPeer.h"
#include "network/testing/c_TrustedAuthorityTest.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

constexpr std::uint32_t LOOPBACK = 0x7F000001;

// The owner connects to the proxy and asks it for the target by name.
void ThroughProxy(c_TestSocketOwner& owner, const std::string& target, std::uint16_t port) {
    owner.m_Socks5Settings.m_UseSocks5 = true;
    owner.m_Socks5Settings.m_Host = c_String(target.c_str());
    owner.m_Socks5Settings.m_Port = port;
}

class NetworkSocketThroughMicrosocks : public c_TrustedAuthorityTest {
protected:
    static void SetUpTestSuite() {
        c_TrustedAuthorityTest::SetUpTestSuite();
        ASSERT_TRUE(s_p_Authority->Issue("localhost", "DNS:localhost"));
    }

    c_CoreSession m_Session;
};

TEST_F(NetworkSocketThroughMicrosocks, ConnectsByNameWithAndWithoutAuthentication) {
    const struct {
        const char* m_Name;
        const char* m_ProxyUser; // empty: the proxy asks for nothing
        const char* m_User;
        const char* m_Password;
        const char* m_Failure; // null: the echo answers
    } CASES[] = {
        {"no authentication", "", "", "", nullptr},
        {"the right password", "user", "user", "secret", nullptr},
        {"a wrong password", "user", "user", "wrong", "Socks5 server rejected username or password"},
    };
    for (const auto& row : CASES) {
        // socat serves one connection.
        c_SocatPeer echo("PIPE");
        ASSERT_NE(echo.GetPort(), 0);
        c_MicrosocksProxy proxy(row.m_ProxyUser, "secret");
        ASSERT_NE(proxy.GetPort(), 0) << row.m_Name;
        c_TestSocketOwner owner("127.0.0.1", proxy.GetPort());
        ThroughProxy(owner, "localhost", echo.GetPort());
        owner.m_Socks5Settings.m_UserName = row.m_User;
        owner.m_Socks5Settings.m_Password = row.m_Password;
        ASSERT_TRUE(owner.Connect(LOOPBACK));
        ASSERT_TRUE(n_Platform::PumpUntil([&] {
            return owner.HasEvent(SOCKET_EVENT_CONNECTED) || owner.HasEvent(SOCKET_EVENT_CONNECT_FAILED);
        })) << row.m_Name;
        if (row.m_Failure != nullptr) {
            // The proxy's close may follow; the owner would have let go already.
            EXPECT_EQ(owner.m_Events.front(), SOCKET_EVENT_CONNECT_FAILED) << row.m_Name;
            EXPECT_FALSE(owner.HasEvent(SOCKET_EVENT_CONNECTED)) << row.m_Name;
            EXPECT_TRUE(m_Session.HasLine("TestSocket (" + std::to_string(owner.GetIndex()) + ") | " + row.m_Failure))
                << row.m_Name;
            continue;
        }
        const std::string ping = "ping through the proxy";
        owner.Send(reinterpret_cast<const std::uint8_t*>(ping.data()), static_cast<std::uint32_t>(ping.size()));
        ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.m_Received.GetSize() >= ping.size(); })) << row.m_Name;
        EXPECT_EQ(GetReceivedText(owner), ping) << row.m_Name;
    }
}

TEST_F(NetworkSocketThroughMicrosocks, TLSReachesTheTargetByItsOwnName) {
    // Only the target's name is on its certificate: checking the proxy's address would fail.
    c_NginxServer server("127.0.0.1", s_p_Authority->GetPath("localhost.crt"), s_p_Authority->GetPath("localhost.key"));
    ASSERT_NE(server.GetPort(), 0);
    const std::string content(100000, 'z');
    std::ofstream(server.GetFilePath("page"), std::ios::binary) << content;
    c_MicrosocksProxy proxy;
    ASSERT_NE(proxy.GetPort(), 0);
    c_TestSocketOwner owner("127.0.0.1", proxy.GetPort());
    owner.m_SecurityMethod = 3;
    ThroughProxy(owner, "localhost", server.GetPort());
    ASSERT_TRUE(owner.Connect(LOOPBACK));
    const s_RawResponse response = RawHTTPGet(owner, "localhost", "/page");
    EXPECT_TRUE(response.m_Closed);
    EXPECT_EQ(response.m_Body, content);
}

} // namespace
