// Tests of a network socket's SOCKS 5 handshake against a scripted proxy on 127.0.0.1, which the
// test plays with the system's own socket calls: the answers no real proxy sends.

#include "network/c_NetworkSocket.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_PeerConnection.h"
#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string GREETING("\x05\x02\x00\x02", 4);
const std::string CONNECT = std::string("\x05\x01\x00\x03\x0A", 5) + "files.test" + "\x01\xBB";
const std::string NO_AUTHENTICATION("\x05\x00", 2);
const std::string IPV4_REPLY("\x05\x00\x00\x01\x7F\x00\x00\x01\x04\x38", 10);
const std::string NAME_REPLY = std::string("\x05\x00\x00\x03\x14", 5) + "twenty-byte-name.abc" + "\x04\x38";
const std::string IPV6_REPLY = std::string("\x05\x00\x00\x04", 4) + std::string(16, '\x01') + "\x04\x38";

std::string Read(int fd, std::size_t count) {
    std::string bytes(count, '\0');
    return n_PosixPeer::ReceiveAll(fd, bytes.data(), count) ? bytes : std::string();
}

void Write(int fd, const std::string& bytes) {
    ASSERT_TRUE(n_PosixPeer::SendAll(fd, bytes.data(), bytes.size()));
}

std::function<void(c_TestSocketOwner&)> ThroughProxy(const std::string& user = "", const std::string& password = "") {
    return [=](c_TestSocketOwner& owner) {
        owner.m_Socks5Settings.m_UseSocks5 = true;
        owner.m_Socks5Settings.m_Host = "files.test";
        owner.m_Socks5Settings.m_Port = 443;
        owner.m_Socks5Settings.m_UserName = c_String(user.c_str());
        owner.m_Socks5Settings.m_Password = c_String(password.c_str());
        // A proxy on this host is still used: bypass concerns the target.
        owner.m_Socks5Settings.m_BypassForLocalHost = true;
    };
}

std::string Received(const c_TestSocketOwner& owner) {
    return std::string(reinterpret_cast<const char*>(owner.m_Received.GetData()), owner.m_Received.GetSize());
}

bool PumpUntilSettled(c_TestSocketOwner& owner, std::size_t bytes) {
    return n_Platform::PumpUntil([&] {
        return owner.HasEvent(SOCKET_EVENT_CONNECT_FAILED) ||
               (owner.HasEvent(SOCKET_EVENT_CONNECTED) && owner.m_Received.GetSize() >= bytes);
    });
}

class Socks5ScriptedProxy : public testing::Test {
protected:
    c_CoreSession m_Session;
};

TEST_F(Socks5ScriptedProxy, RepliesAsTheProxySendsThem) {
    struct s_Row {
        std::string m_Name;
        std::string m_Method; // the proxy's method selection
        std::string m_Reply;  // after the CONNECT request; none when the method already failed
        std::string m_Failure;
        std::string m_Data; // what reaches the owner
    };
    std::vector<s_Row> rows = {
        {"IPv4 reply, data behind", NO_AUTHENTICATION, IPV4_REPLY + "after", "", "after"},
        {"name reply, data behind", NO_AUTHENTICATION, NAME_REPLY + "behind the name", "", "behind the name"},
        {"IPv6 reply, data behind", NO_AUTHENTICATION, IPV6_REPLY + "six", "", "six"},
        {"unknown address type", NO_AUTHENTICATION, std::string("\x05\x00\x00\x09\x01\x02\x03\x04\x05\x06", 10),
         "Socks5 server replied with an unknown address type", ""},
        {"methods refused", std::string("\x05\xFF", 2), "", "Socks5 server rejected suggested methods", ""},
        {"a method not offered", std::string("\x05\x01", 2), "", "Socks5 server chose a method that was not offered",
         ""},
    };
    const char* const texts[] = {
        "Socks5 general server failure", "Socks5 connection not allowed by ruleset",
        "Socks5 network unreachable",    "Socks5 host unreachable",
        "Socks5 connection refused",     "Socks5 TTL expired",
        "Socks5 command not supported",  "Socks5 address type not supported",
    };
    for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 0x5A}) {
        std::string reply = IPV4_REPLY;
        reply[1] = static_cast<char>(code);
        rows.push_back({"code " + std::to_string(code), NO_AUTHENTICATION, reply,
                        code <= 8 ? texts[code - 1] : "Socks5 unknown error", ""});
    }
    for (const s_Row& row : rows) {
        c_PeerConnection connection;
        ASSERT_TRUE(connection.Accept(ThroughProxy())) << row.m_Name;
        EXPECT_EQ(Read(connection.m_Peer, GREETING.size()), GREETING) << row.m_Name;
        Write(connection.m_Peer, row.m_Method);
        if (!row.m_Reply.empty()) {
            EXPECT_EQ(Read(connection.m_Peer, CONNECT.size()), CONNECT) << row.m_Name;
            Write(connection.m_Peer, row.m_Reply);
        }
        c_TestSocketOwner& owner = *connection.m_p_Owner;
        ASSERT_TRUE(PumpUntilSettled(owner, row.m_Data.size())) << row.m_Name;
        if (row.m_Failure.empty()) {
            EXPECT_EQ(owner.m_Events, (std::vector<UINT>{SOCKET_EVENT_CONNECTED, SOCKET_EVENT_DATA_RECEIVED}))
                << row.m_Name;
            EXPECT_EQ(Received(owner), row.m_Data) << row.m_Name;
            continue;
        }
        EXPECT_EQ(owner.m_Events, std::vector<UINT>{SOCKET_EVENT_CONNECT_FAILED}) << row.m_Name;
        EXPECT_EQ(Received(owner), "") << row.m_Name;
        const std::string prefix = "TestSocket (" + std::to_string(owner.GetIndex()) + ") | ";
        EXPECT_TRUE(m_Session.HasLine(prefix + row.m_Failure)) << row.m_Name;
    }
}

TEST_F(Socks5ScriptedProxy, AReplyInPiecesIsTakenWhenWhole) {
    c_PeerConnection connection;
    ASSERT_TRUE(connection.Accept(ThroughProxy()));
    Read(connection.m_Peer, GREETING.size());
    Write(connection.m_Peer, NO_AUTHENTICATION.substr(0, 1));
    c_TestSocketOwner& owner = *connection.m_p_Owner;
    // Each piece is held until the socket has it, so the reads cannot merge.
    const auto waitForHeld = [&](std::uint32_t count) {
        return n_Platform::WaitUntil([&] {
            c_CriticalSectionLock lock;
            c_NetworkSocket* socket = owner.Find(lock);
            return socket != nullptr && socket->m_Socks5Client.GetReceiveBuffer().GetSize() == count;
        });
    };
    ASSERT_TRUE(waitForHeld(1));
    Write(connection.m_Peer, NO_AUTHENTICATION.substr(1));
    EXPECT_EQ(Read(connection.m_Peer, CONNECT.size()), CONNECT);
    Write(connection.m_Peer, NAME_REPLY.substr(0, 3));
    ASSERT_TRUE(waitForHeld(3));
    Write(connection.m_Peer, NAME_REPLY.substr(3, 3));
    ASSERT_TRUE(waitForHeld(6));
    Write(connection.m_Peer, NAME_REPLY.substr(6) + "data");
    ASSERT_TRUE(PumpUntilSettled(owner, 4));
    EXPECT_EQ(owner.m_Events, (std::vector<UINT>{SOCKET_EVENT_CONNECTED, SOCKET_EVENT_DATA_RECEIVED}));
    EXPECT_EQ(Received(owner), "data");
}

TEST_F(Socks5ScriptedProxy, CredentialsAreCutTo255BytesAndChecked) {
    const std::string user(300, 'u');
    c_PeerConnection connection;
    ASSERT_TRUE(connection.Accept(ThroughProxy(user, "pw")));
    Read(connection.m_Peer, GREETING.size());
    Write(connection.m_Peer, std::string("\x05\x02", 2));
    const std::string credentials = std::string("\x01\xFF", 2) + user.substr(0, 255) + "\x02pw";
    EXPECT_EQ(Read(connection.m_Peer, credentials.size()), credentials);
    Write(connection.m_Peer, std::string("\x01\x00", 2));
    EXPECT_EQ(Read(connection.m_Peer, CONNECT.size()), CONNECT);
    Write(connection.m_Peer, IPV4_REPLY);
    c_TestSocketOwner& owner = *connection.m_p_Owner;
    ASSERT_TRUE(PumpUntilSettled(owner, 0));
    EXPECT_EQ(owner.m_Events, std::vector<UINT>{SOCKET_EVENT_CONNECTED});
    const std::string prefix = "TestSocket (" + std::to_string(owner.GetIndex()) + ") | ";
    EXPECT_TRUE(m_Session.HasLinesInOrder({
        prefix + "Socks5 sending version and method",
        prefix + "Socks5 sending username and password authentication",
        prefix + "Socks5 reading authentication response",
        prefix + "Socks5 sending connection instructions",
        prefix + "Socks5 connected",
    }));
}

TEST_F(Socks5ScriptedProxy, AHostNameOver255BytesIsRefusedBeforeConnecting) {
    std::uint16_t port = 0;
    const int listener = n_PosixPeer::Listen(&port, 1);
    c_TestSocketOwner owner("127.0.0.1", port);
    ThroughProxy()(owner);
    owner.m_Socks5Settings.m_Host = c_String(std::string(256, 'h').c_str());
    ASSERT_TRUE(owner.Connect());
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECT_FAILED); }));
    EXPECT_FALSE(n_PosixPeer::WaitForPendingConnection(listener, 0));
    EXPECT_TRUE(m_Session.HasLineContaining("| Socks5 host name is longer than 255 bytes"));
    n_PosixPeer::Close(listener);
}

} // namespace
