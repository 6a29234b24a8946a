// Tests of the buffered socket against real peers on 127.0.0.x: a socat echo (bytes come back whole,
// compressed receive blocks are decoded or refused on the way in), `openssl s_server` and nginx over
// TLS with an authority the test makes and trusts, and the echo through microsocks.

#include "protocols/socket/c_BufferedSocket2.h"

#include "network/LZ4Streams.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_MicrosocksProxy.h"
#include "network/testing/c_NginxServer.h"
#include "network/testing/c_OpenSSLServer.h"
#include "network/testing/c_SocatPeer.h"
#include "network/testing/c_TrustedAuthorityTest.h"
#include "platform/testing/PumpUntil.h"
#include "protocols/socket/testing/c_TestBufferedSocketOwner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t TLS_1_2 = 3;

// Everything the owner was offered, joined, since it uses every byte.
std::string GetReceived(const c_TestBufferedSocketOwner& owner) {
    std::string all;
    for (const std::string& name : owner.GetNames()) {
        if (name.compare(0, 5, "data:") == 0) {
            all += name.substr(5);
        }
    }
    return all;
}

bool SendText(c_BufferedSocket2& socket, const std::string& bytes) {
    c_CriticalSectionLock lock;
    return socket.Send(bytes.data(), static_cast<std::int64_t>(bytes.size()), 0, lock);
}

// An echo peer per test: socat serves one connection.
class BufferedSocket2Echo : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_Echo.GetPort(), 0);
        c_CriticalSectionLock lock;
        ASSERT_TRUE(m_p_Socket->Connect("127.0.0.1", m_Echo.GetPort(), 0, lock));
        m_Index = m_p_Socket->GetNetworkSocketID(lock);
        lock.Unlock();
        ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("connected"); }));
    }
    void TearDown() override { m_p_Socket.reset(); }

    bool Send(const std::string& bytes) { return SendText(*m_p_Socket, bytes); }
    std::string Received() const { return GetReceived(m_Owner); }
    void Decompress(std::int32_t mode) {
        c_CriticalSectionLock lock;
        m_p_Socket->SetReceiveDecompression(mode, lock);
    }

    c_CoreSession m_Session;
    c_SocatPeer m_Echo{"PIPE"};
    c_TestBufferedSocketOwner m_Owner;
    std::unique_ptr<c_BufferedSocket2> m_p_Socket = std::make_unique<c_BufferedSocket2>(&m_Owner, "Echo");
    std::int32_t m_Index = 0;
};

std::string Header(std::uint32_t total, std::uint32_t uncompressed) {
    std::string bytes;
    for (const std::uint32_t value : {total, uncompressed}) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes += static_cast<char>(value >> shift);
        }
    }
    return bytes;
}

std::string OneShotBlock(const std::string& text) {
    std::vector<std::uint8_t> data;
    CompressLZ4(std::vector<std::uint8_t>(text.begin(), text.end()), data, 1);
    return Header(static_cast<std::uint32_t>(data.size()) + 8, static_cast<std::uint32_t>(text.size())) +
           std::string(data.begin(), data.end());
}

TEST_F(BufferedSocket2Echo, BytesComeBackWholeAndInOrder) {
    std::string sent;
    for (int round = 0; round < 50; ++round) {
        const std::string piece =
            "piece " + std::to_string(round) + std::string(static_cast<std::size_t>(round) * 97, '.');
        ASSERT_TRUE(Send(piece));
        sent += piece;
    }
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return Received().size() >= sent.size(); }));
    EXPECT_EQ(Received(), sent);
}

TEST_F(BufferedSocket2Echo, CompressedBlocksArriveDecodedAcrossSends) {
    Decompress(1);
    const std::string block = OneShotBlock("compressed hello, compressed hello, compressed hello");
    ASSERT_TRUE(Send(block.substr(0, 11)));
    ASSERT_TRUE(Send(block.substr(11) + block));
    const std::string expected = "compressed hello, compressed hello, compressed hello";
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return Received().size() >= 2 * expected.size(); }));
    EXPECT_EQ(Received(), expected + expected);
}

// The echo returns the compressed blocks as they were sent, so decoding them gives the bytes back.
TEST_F(BufferedSocket2Echo, CompressedSendsComeBackAndReportTheirRatio) {
    c_CriticalSectionLock lock;
    EXPECT_EQ(m_p_Socket->GetCompressionRatio(lock), 0.0F) << "nothing compressed yet";
    EXPECT_EQ(m_p_Socket->SetCompressionType(1, lock), 1);
    lock.Unlock();
    Decompress(1);
    std::string text;
    for (int line = 0; line < 400; ++line) {
        text += "line " + std::to_string(line) + " of a text that compresses well\n";
    }
    ASSERT_TRUE(Send(text));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return Received().size() >= text.size(); }));
    EXPECT_EQ(Received(), text);
    lock.Relock();
    EXPECT_GT(m_p_Socket->GetCompressionRatio(lock), 2.0F);
    float ratio = 0;
    std::uint64_t bytesSent = 0;
    double seconds = -1;
    std::int32_t count = 0;
    m_p_Socket->GetCompressionStatistics(ratio, bytesSent, seconds, count, lock);
    EXPECT_EQ(ratio, m_p_Socket->GetCompressionRatio(lock));
    EXPECT_EQ(bytesSent, text.size());
    EXPECT_GE(seconds, 0.0);
    EXPECT_GE(count, 1);
    m_p_Socket->CloseSocket(false, lock);
    EXPECT_EQ(m_p_Socket->GetCompressionRatio(lock), 0.0F) << "no network socket";
    m_p_Socket->GetCompressionStatistics(ratio, bytesSent, seconds, count, lock);
    EXPECT_EQ(bytesSent, text.size()) << "no network socket: the figures are left as they were";
}

TEST_F(BufferedSocket2Echo, BlockShorterThanItsHeaderClosesTheSocket) {
    Decompress(1);
    ASSERT_TRUE(Send(Header(3, 0)));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return m_Owner.HasCall("closed"); }));
    EXPECT_TRUE(m_Session.HasLine("Echo (" + std::to_string(m_Index) +
                                  ") | Invalid compressed block received. Closing socket."));
    EXPECT_EQ(Received(), "");
}

// TLS to `openssl s_server -www` and to nginx, both holding a certificate for localhost from the
// trusted test authority: a GET over the buffered socket brings the page back decrypted.
class BufferedSocket2OverTLS : public c_TrustedAuthorityTest {
protected:
    static void SetUpTestSuite() {
        c_TrustedAuthorityTest::SetUpTestSuite();
        ASSERT_TRUE(s_p_Authority->Issue("localhost", "DNS:localhost"));
    }

    // Connects to localhost by name with TLS 1.2, sends a GET for path and waits for expected.
    std::string Get(std::uint16_t port, const std::string& path, const std::string& expected) {
        c_TestBufferedSocketOwner owner;
        c_BufferedSocket2 socket(&owner, "TLS");
        c_CriticalSectionLock lock;
        EXPECT_TRUE(socket.Connect("localhost", port, TLS_1_2, lock));
        lock.Unlock();
        // Send refuses bytes before the connection is made.
        if (!n_Platform::PumpUntil([&] { return owner.HasCall("connected") || owner.HasCall("closed"); }) ||
            !owner.HasCall("connected")) {
            return "not connected";
        }
        EXPECT_TRUE(SendText(socket, "GET " + path + " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n"));
        n_Platform::PumpUntil(
            [&] { return GetReceived(owner).find(expected) != std::string::npos || owner.HasCall("closed"); });
        return GetReceived(owner);
    }

    c_CoreSession m_Session;
};

TEST_F(BufferedSocket2OverTLS, OpenSSLServerAnswers) {
    c_OpenSSLServer server(
        {"-cert", s_p_Authority->GetPath("localhost.crt"), "-key", s_p_Authority->GetPath("localhost.key")});
    ASSERT_NE(server.GetPort(), 0);
    const std::string page = Get(static_cast<std::uint16_t>(server.GetPort()), "/", "Protocol  : TLSv1.2");
    EXPECT_EQ(page.compare(0, 15, "HTTP/1.0 200 ok"), 0) << page;
    EXPECT_NE(page.find("Protocol  : TLSv1.2"), std::string::npos) << page;
}

TEST_F(BufferedSocket2OverTLS, NginxServesAFile) {
    c_NginxServer server("127.0.0.1", s_p_Authority->GetPath("localhost.crt"), s_p_Authority->GetPath("localhost.key"));
    ASSERT_NE(server.GetPort(), 0);
    const std::string content = "the file's own bytes, sent over TLS";
    std::ofstream(server.GetFilePath("file"), std::ios::binary) << content;
    const std::string page = Get(server.GetPort(), "/file", "\r\n\r\n" + content);
    EXPECT_EQ(page.compare(0, 15, "HTTP/1.1 200 OK"), 0) << page;
    EXPECT_EQ(page.substr(page.size() - std::min(page.size(), content.size())), content);
}

// The echo through microsocks, with the application's SOCKS 5 settings; a proxy that refuses the
// password tells which connections went through it.
struct s_Socks5Case {
    const char* m_Name;
    const char* m_ProxyUser; // empty: the proxy asks for nothing
    const char* m_Password;
    const char* m_Target;
    bool m_Bypass;
    bool m_Echoes;
};

const s_Socks5Case SOCKS5_CASES[] = {
    {"NoAuthentication", "", "", "localhost", false, true},
    {"Authentication", "user", "secret", "localhost", false, true},
    {"WrongPasswordCloses", "user", "wrong", "localhost", false, false},
    {"LocalAddressWithBypassGoesDirect", "user", "wrong", "127.0.0.1", true, true},
    {"LocalAddressWithoutBypassAsksTheProxy", "user", "wrong", "127.0.0.1", false, false},
};

class BufferedSocket2ThroughSocks5 : public testing::TestWithParam<s_Socks5Case> {
protected:
    c_CoreSession m_Session;
};

TEST_P(BufferedSocket2ThroughSocks5, EchoesOrCloses) {
    const s_Socks5Case& row = GetParam();
    // socat serves one connection.
    c_SocatPeer echo("PIPE");
    ASSERT_NE(echo.GetPort(), 0);
    c_MicrosocksProxy proxy(row.m_ProxyUser, "secret");
    ASSERT_NE(proxy.GetPort(), 0);
    c_Socks5ConnectionSettings& settings = *m_Session.GetCore()->GetSocks5ConnectionSettings();
    settings.m_UseSocks5 = true;
    settings.m_Host = "127.0.0.1";
    settings.m_Port = proxy.GetPort();
    settings.m_UserName = "user";
    settings.m_Password = row.m_Password;
    settings.m_BypassForLocalHost = row.m_Bypass;

    c_TestBufferedSocketOwner owner;
    c_BufferedSocket2 socket(&owner, "Socks");
    c_CriticalSectionLock lock;
    ASSERT_TRUE(socket.Connect(row.m_Target, echo.GetPort(), 0, lock));
    lock.Unlock();
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasCall("connected") || owner.HasCall("closed"); }));
    if (!row.m_Echoes) {
        EXPECT_TRUE(owner.HasCall("closed"));
        EXPECT_FALSE(owner.HasCall("connected"));
        return;
    }
    const std::string ping = "ping through the proxy";
    ASSERT_TRUE(SendText(socket, ping));
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return GetReceived(owner).size() >= ping.size(); }));
    EXPECT_EQ(GetReceived(owner), ping);
}

INSTANTIATE_TEST_SUITE_P(Rows, BufferedSocket2ThroughSocks5, testing::ValuesIn(SOCKS5_CASES),
                         [](const testing::TestParamInfo<s_Socks5Case>& info) { return info.param.m_Name; });

} // namespace
