// End-to-end tests of TLS network sockets against `openssl s_server`, `nginx` and a TLS server the
// test plays itself, all on 127.0.0.x with an authority that the test makes and trusts.

#include "network/c_NetworkSocket.h"
#include "network/testing/RawHTTPGet.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_NginxServer.h"
#include "network/testing/c_OpenSSLServer.h"
#include "network/testing/c_PeerConnection.h"
#include "network/testing/c_TrustedAuthorityTest.h"
#include "platform/testing/PosixPeer.h"
#include "textutil/Digests.h"

#include <gtest/gtest.h>

#include <fstream>
#include <poll.h>
#include <random>

namespace {

constexpr std::uint32_t LOOPBACK = 0x7F000001;
constexpr std::uint32_t SECOND_LOOPBACK = 0x7F000002;
constexpr std::int32_t TLS_1_2 = 3;

std::string Digest(const std::string& bytes) {
    const c_String digest = SHA256Base64(c_StringView(bytes.data(), static_cast<int>(bytes.size())));
    return std::string(digest.begin(), digest.end());
}

std::string MakeBytes(std::size_t count) {
    std::string bytes(count, '\0');
    std::mt19937 generator(16);
    for (char& byte : bytes) {
        byte = static_cast<char>(generator());
    }
    return bytes;
}

class NetworkSocketWithOpenSSLServer : public c_TrustedAuthorityTest {
protected:
    static void SetUpTestSuite() {
        c_TrustedAuthorityTest::SetUpTestSuite();
        ASSERT_TRUE(s_p_Authority->Issue("server.test", "DNS:server.test"));
        ASSERT_TRUE(s_p_Authority->Issue("sni.test", "DNS:sni.test"));
        ASSERT_TRUE(s_p_Stranger->Issue("server.test", "DNS:server.test"));
    }
    static std::vector<std::string> Serve(const c_TestAuthority& authority, const std::string& name) {
        return {"-cert", authority.GetPath(name + ".crt"), "-key", authority.GetPath(name + ".key")};
    }

    c_CoreSession m_Session;
};

TEST_F(NetworkSocketWithOpenSSLServer, TheServerIsNamedAndVerified) {
    std::vector<std::string> withSecondName = Serve(*s_p_Authority, "server.test");
    withSecondName.insert(withSecondName.end(),
                          {"-servername", "sni.test", "-cert2", s_p_Authority->GetPath("sni.test.crt"), "-key2",
                           s_p_Authority->GetPath("sni.test.key")});
    const struct {
        const char* m_Name;
        std::vector<std::string> m_Options;
        const char* m_RemoteName;
        const char* m_Reason; // null: the page arrives
    } CASES[] = {
        // The server shows sni.test's certificate only to a client that names sni.test.
        {"server name indication", withSecondName, "sni.test", nullptr},
        {"untrusted authority", Serve(*s_p_Stranger, "server.test"), "server.test",
         "unable to get local issuer certificate"},
        {"certificate for another name", Serve(*s_p_Authority, "sni.test"), "server.test", "hostname mismatch"},
    };
    for (const auto& row : CASES) {
        c_OpenSSLServer server(row.m_Options);
        ASSERT_NE(server.GetPort(), 0) << row.m_Name;
        c_TestSocketOwner owner(row.m_RemoteName, static_cast<std::uint16_t>(server.GetPort()));
        owner.m_SecurityMethod = TLS_1_2;
        ASSERT_TRUE(owner.Connect(LOOPBACK));
        ASSERT_TRUE(SendRawHTTPGet(owner, row.m_RemoteName, "/")) << row.m_Name;
        // The server keeps the connection after its page: the page itself is the answer.
        PumpWhileReceiving(owner, [&] {
            return GetReceivedText(owner).find("Protocol  : TLSv1.2") != std::string::npos ||
                   owner.HasEvent(SOCKET_EVENT_ERROR);
        });
        if (row.m_Reason == nullptr) {
            EXPECT_FALSE(owner.HasEvent(SOCKET_EVENT_ERROR)) << row.m_Name;
            EXPECT_NE(GetReceivedText(owner).find("Protocol  : TLSv1.2"), std::string::npos) << row.m_Name;
            continue;
        }
        EXPECT_TRUE(owner.HasEvent(SOCKET_EVENT_ERROR)) << row.m_Name;
        EXPECT_EQ(owner.m_Received.GetSize(), 0u) << row.m_Name;
        EXPECT_TRUE(
            m_Session.HasLineContaining("| Encryption stream error encountered when processing received data.  "))
            << row.m_Name;
        EXPECT_TRUE(m_Session.HasLineContaining(std::string("certificate verify error: ") + row.m_Reason))
            << row.m_Name;
    }
}

class NetworkSocketWithNginx : public c_TrustedAuthorityTest {
protected:
    static void SetUpTestSuite() {
        c_TrustedAuthorityTest::SetUpTestSuite();
        ASSERT_TRUE(s_p_Authority->Issue("localhost", "DNS:localhost"));
        s_p_Server = new c_NginxServer("127.0.0.2", s_p_Authority->GetPath("localhost.crt"),
                                       s_p_Authority->GetPath("localhost.key"));
        ASSERT_NE(s_p_Server->GetPort(), 0);
    }
    static void TearDownTestSuite() {
        delete s_p_Server;
        c_TrustedAuthorityTest::TearDownTestSuite();
    }

    static c_NginxServer* s_p_Server;
    c_CoreSession m_Session;
};

c_NginxServer* NetworkSocketWithNginx::s_p_Server = nullptr;

TEST_F(NetworkSocketWithNginx, FilesArriveIntact) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{16383}, std::size_t{16384},
                                   std::size_t{16385}, std::size_t{200} * 1048576}) {
        const std::string name = "file" + std::to_string(size);
        const std::string content = MakeBytes(size);
        std::ofstream(s_p_Server->GetFilePath(name), std::ios::binary) << content;
        c_TestSocketOwner owner("localhost", s_p_Server->GetPort());
        owner.m_SecurityMethod = TLS_1_2;
        ASSERT_TRUE(owner.Connect(SECOND_LOOPBACK));
        const s_RawResponse response = RawHTTPGet(owner, "localhost", "/" + name);
        EXPECT_TRUE(response.m_Closed) << size;
        EXPECT_NE(response.m_Head.find("Content-Length: " + std::to_string(size) + "\r\n"), std::string::npos)
            << size << response.m_Head;
        EXPECT_EQ(response.m_Body.size(), size);
        EXPECT_EQ(Digest(response.m_Body), Digest(content)) << size;
    }
}

// The test plays a TLS server over the peer's descriptor with an engine of its own.
class NetworkSocketWithOwnTLSServer : public c_TrustedAuthorityTest, protected c_PeerConnection {
protected:
    static void SetUpTestSuite() {
        c_TrustedAuthorityTest::SetUpTestSuite();
        ASSERT_TRUE(s_p_Authority->Issue("address", "IP:127.0.0.1"));
    }

    // Moves records both ways until done holds or the client's stream ends.
    static bool Serve(int peer, c_EncryptionIOBuffers& engine, const std::function<bool()>& done) {
        char block[16384];
        for (;;) {
            engine.ProcessIO();
            c_ByteBuffer& records = engine.GetOutgoingEncrypted();
            if (!records.IsEmpty() && !n_PosixPeer::SendAll(peer, records.GetData(), records.GetSize())) {
                return false;
            }
            records.Clear(false);
            if (done() || engine.HasError()) {
                return done();
            }
            // A client that stops answering ends the test instead of hanging it.
            pollfd entry = {peer, POLLIN, 0};
            if (poll(&entry, 1, n_Platform::PROMPTLY_MS) != 1) {
                return done();
            }
            const long received = n_PosixPeer::ReceiveSome(peer, block, sizeof block);
            if (received <= 0) {
                return done();
            }
            engine.GetIncomingEncrypted().Append(block, static_cast<std::uint32_t>(received));
        }
    }

    void TearDown() override { Close(); }

    c_CoreSession m_Session;
};

TEST_F(NetworkSocketWithOwnTLSServer, TheOwnersCloseSendsCloseNotifyAfterTheLastBytes) {
    ASSERT_TRUE(Open([](c_TestSocketOwner& owner) { owner.m_SecurityMethod = TLS_1_2; }));
    c_TLSContext context(TLS_1_2, c_TLSContext::ROLE_SERVER);
    ASSERT_TRUE(context.UseCertificateAndKeyFiles(s_p_Authority->GetPath("address.crt").c_str(),
                                                  s_p_Authority->GetPath("address.key").c_str(), nullptr));
    c_EncryptionIOBuffers engine(&context);
    ASSERT_TRUE(engine.StartHandshake());
    const std::string first = "the first bytes";
    m_p_Owner->Send(reinterpret_cast<const std::uint8_t*>(first.data()), static_cast<std::uint32_t>(first.size()));
    const c_ByteBuffer& received = engine.GetIncomingDecrypted();
    ASSERT_TRUE(Serve(m_Peer, engine, [&] { return received.GetSize() == first.size(); }))
        << engine.GetErrorText().GetChars();

    // The last bytes and the close leave together; the close_notify must follow the bytes.
    const std::string last = "the last bytes";
    m_p_Owner->Send(reinterpret_cast<const std::uint8_t*>(last.data()), static_cast<std::uint32_t>(last.size()));
    m_p_Owner->Close();
    EXPECT_TRUE(Serve(m_Peer, engine, [&] { return engine.IsClosed(); })) << engine.GetErrorText().GetChars();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(received.GetData()), received.GetSize()), first + last);
    EXPECT_EQ(n_PosixPeer::ReadUntilEnd(m_Peer), 0);
}

} // namespace
