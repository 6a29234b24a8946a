// Tests of a network socket's TLS set-up against a peer on 127.0.0.1 that the test drives with the
// system's own calls, and of the server role's engine against a client engine in memory.

#include "network/c_NetworkSocket.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_PeerConnection.h"
#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"

#include <gtest/gtest.h>
#include <openssl/ssl.h>

#include <poll.h>

namespace {

class NetworkSocketTLS : public testing::Test {
protected:
    c_CoreSession m_Session;
};

TEST_F(NetworkSocketTLS, SetUpRefusesWhatItCannotEncrypt) {
    const struct {
        const char* m_Name;
        std::int32_t m_Method;
        std::int32_t m_Compression;
        const char* m_Line;
    } CASES[] = {
        {"no context for the method", 9, 0,
         "Encryption I/O initialization error.  No TLS context for (unknown security method)."},
        {"compression with TLS", 3, 2,
         "Encryption I/O initialization error.  TLS together with compression is not supported."},
    };
    for (const auto& row : CASES) {
        std::uint16_t port = 0;
        const int listener = n_PosixPeer::Listen(&port, 1);
        c_TestSocketOwner owner("127.0.0.1", port);
        owner.m_SecurityMethod = row.m_Method;
        owner.m_CompressionType = row.m_Compression;
        ASSERT_TRUE(owner.Connect());
        ASSERT_TRUE(n_Platform::PumpUntil([&] { return owner.HasEvent(SOCKET_EVENT_CONNECT_FAILED); })) << row.m_Name;
        // Nothing goes out in plain text: there is not even a connection.
        EXPECT_FALSE(n_PosixPeer::WaitForPendingConnection(listener, 0)) << row.m_Name;
        EXPECT_TRUE(m_Session.HasLine("TestSocket (" + std::to_string(owner.GetIndex()) + ") | " + row.m_Line))
            << row.m_Name;
        n_PosixPeer::Close(listener);
    }
}

TEST_F(NetworkSocketTLS, TheClientHelloLeavesWhenTheConnectionIsMade) {
    c_PeerConnection connection;
    ASSERT_TRUE(connection.Open([](c_TestSocketOwner& owner) { owner.m_SecurityMethod = 3; }));
    // The owner sends nothing: a server that speaks first still gets its hello.
    pollfd entry = {connection.m_Peer, POLLIN, 0};
    ASSERT_EQ(poll(&entry, 1, n_Platform::PROMPTLY_MS), 1);
    std::uint8_t head[3] = {};
    ASSERT_TRUE(n_PosixPeer::ReceiveAll(connection.m_Peer, head, sizeof head));
    EXPECT_EQ(head[0], 0x16); // a handshake record
    EXPECT_EQ(head[1], 0x03);
}

// Moves the records of one engine to the other.
void Deliver(c_EncryptionIOBuffers& from, c_EncryptionIOBuffers& to) {
    from.ProcessIO();
    to.GetIncomingEncrypted().Append(from.GetOutgoingEncrypted());
    from.GetOutgoingEncrypted().Clear(false);
    to.ProcessIO();
}

TEST_F(NetworkSocketTLS, TheServerRoleAnswersAClient) {
    c_NetworkSocket server("Server", true, 3);
    // The socket thread makes the contexts before it takes work: a connect it fails comes after.
    c_TestSocketOwner probe("127.0.0.1", n_PosixPeer::FindClosedPort());
    ASSERT_TRUE(probe.Connect());
    ASSERT_TRUE(n_Platform::PumpUntil([&] { return probe.HasEvent(SOCKET_EVENT_CONNECT_FAILED); }));
    ASSERT_TRUE(server.SetUpEncryption(true));
    ASSERT_NE(server.m_p_EncryptionIOBuffers, nullptr);
    c_TLSContext context(3, 0);
    // The core's certificate is made at run time: nothing to verify it against.
    SSL_CTX_set_verify(context.GetSSLContext(), SSL_VERIFY_NONE, nullptr);
    c_EncryptionIOBuffers client(&context);
    ASSERT_TRUE(client.SetServerName("server.test") && client.StartHandshake());
    client.GetOutgoingPlain().Append("ping", 4);
    c_EncryptionIOBuffers& engine = *server.m_p_EncryptionIOBuffers;
    for (int round = 0; round < 4 && engine.GetIncomingDecrypted().IsEmpty(); ++round) {
        Deliver(client, engine);
        Deliver(engine, client);
    }
    EXPECT_FALSE(engine.HasError()) << engine.GetErrorText().GetChars();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(engine.GetIncomingDecrypted().GetData()),
                          engine.GetIncomingDecrypted().GetSize()),
              "ping");
}

} // namespace
