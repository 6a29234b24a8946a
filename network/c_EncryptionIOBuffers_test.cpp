// Tests of c_EncryptionIOBuffers: a client and a server object pumping records into each other in memory.

#include "network/c_EncryptionIOBuffers.h"

#include "network/testing/c_TestAuthority.h"
#include "strings/testing/c_FailingAllocation.h"

#include <gtest/gtest.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <optional>
#include <string>

namespace {

const char READ_FAILURE[] = "Failed to read incoming decrypted data from the incoming binary I/O stream.  ";

std::string Text(const c_String& text) {
    return text.GetChars();
}

std::string Take(c_ByteBuffer& buffer) {
    std::string bytes(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
    buffer.Consume(buffer.GetSize());
    return bytes;
}

void Append(c_ByteBuffer& buffer, const std::string& bytes) {
    buffer.Append(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

std::string MakeBytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
    }
    return bytes;
}

class EncryptionIOBuffers : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_p_Authority = new c_TestAuthority;
        ASSERT_TRUE(s_p_Authority->IsReady());
        ASSERT_TRUE(s_p_Authority->Issue("server.test", "DNS:server.test"));
        const std::string bundle =
            s_p_Authority->GetPath("server.test.crt") + " " + s_p_Authority->GetPath("server.test.key");
        ASSERT_EQ(std::system(("cat " + bundle + " > " + s_p_Authority->GetPath("bundle.pem")).c_str()), 0);
    }
    static void TearDownTestSuite() { delete s_p_Authority; }

    static c_String Path(const std::string& name) { return s_p_Authority->GetPath(name).c_str(); }

    void SetUp() override {
        ASSERT_TRUE(
            m_ServerContext.UseCertificateAndKeyFiles(Path("server.test.crt"), Path("server.test.key"), nullptr));
        X509_STORE* store = SSL_CTX_get_cert_store(m_ClientContext.GetSSLContext());
        ASSERT_EQ(X509_STORE_load_file(store, s_p_Authority->GetCertificatePath().c_str()), 1);
        // An SSL object takes the context's certificate when it is made, so these come last.
        m_Server.emplace(&m_ServerContext);
        m_Client.emplace(&m_ClientContext);
    }

    // One direction: whatever the sender has for the wire reaches the receiver, which processes it.
    static void Pump(c_EncryptionIOBuffers& from, c_EncryptionIOBuffers& to) {
        from.ProcessIO();
        to.GetIncomingEncrypted().Append(from.GetOutgoingEncrypted());
        from.GetOutgoingEncrypted().Consume(from.GetOutgoingEncrypted().GetSize());
        to.ProcessIO();
    }

    // Round trips until neither side has anything for the other.
    static void Exchange(c_EncryptionIOBuffers& client, c_EncryptionIOBuffers& server) {
        for (int round = 0; round < 8; ++round) {
            Pump(client, server);
            Pump(server, client);
        }
    }

    void Connect(const char* serverName = "server.test") {
        ASSERT_TRUE(m_Client->SetServerName(serverName));
        ASSERT_TRUE(m_Client->StartHandshake());
        ASSERT_TRUE(m_Server->StartHandshake());
        Exchange(*m_Client, *m_Server);
    }

    static c_TestAuthority* s_p_Authority;
    c_TLSContext m_ServerContext{3, 1};
    c_TLSContext m_ClientContext{3, 0};
    std::optional<c_EncryptionIOBuffers> m_Server;
    std::optional<c_EncryptionIOBuffers> m_Client;
};

c_TestAuthority* EncryptionIOBuffers::s_p_Authority = nullptr;

TEST_F(EncryptionIOBuffers, ClientHelloAfterStart) {
    EXPECT_FALSE(m_Server->NeedsProcessing());
    ASSERT_TRUE(m_Client->SetServerName("server.test"));
    ASSERT_TRUE(m_Client->StartHandshake());
    EXPECT_TRUE(m_Client->NeedsProcessing());
    m_Client->ProcessIO();
    const std::string hello = Take(m_Client->GetOutgoingEncrypted());
    ASSERT_GT(hello.size(), 5u);
    EXPECT_EQ(hello[0], 0x16);                               // a handshake record
    EXPECT_NE(hello.find("server.test"), std::string::npos); // server name indication
    EXPECT_TRUE(m_Client->GetIncomingDecrypted().IsEmpty());
    EXPECT_FALSE(m_Client->HasError());
}

TEST_F(EncryptionIOBuffers, BytesCrossBothWays) {
    Connect();
    Append(m_Client->GetOutgoingPlain(), "request");
    Pump(*m_Client, *m_Server);
    EXPECT_EQ(Take(m_Server->GetIncomingDecrypted()), "request");
    Append(m_Server->GetOutgoingPlain(), "response");
    Pump(*m_Server, *m_Client);
    EXPECT_EQ(Take(m_Client->GetIncomingDecrypted()), "response");
    EXPECT_FALSE(m_Client->HasError() || m_Server->HasError());
    EXPECT_FALSE(m_Client->NeedsProcessing() || m_Server->NeedsProcessing());
}

TEST_F(EncryptionIOBuffers, PlainBytesBeforeTheHandshakeComeFirstInOrder) {
    ASSERT_TRUE(m_Client->SetServerName("server.test"));
    ASSERT_TRUE(m_Client->StartHandshake());
    ASSERT_TRUE(m_Server->StartHandshake());
    Append(m_Client->GetOutgoingPlain(), "first,");
    m_Client->ProcessIO();
    EXPECT_TRUE(m_Client->DoesWriteWantRead());
    EXPECT_EQ(m_Client->GetPendingPlain().GetSize(), 6u);
    EXPECT_FALSE(m_Client->NeedsProcessing() && m_Client->GetOutgoingEncrypted().IsEmpty());
    Append(m_Client->GetOutgoingPlain(), "second,");
    Pump(*m_Client, *m_Server);
    Pump(*m_Server, *m_Client); // the client answers the server's hello and still waits
    EXPECT_EQ(m_Client->GetPendingPlain().GetSize(), 6u);
    Pump(*m_Client, *m_Server);
    Pump(*m_Server, *m_Client); // the server's Finished ends the handshake, and both go out at once
    EXPECT_TRUE(m_Client->GetPendingPlain().IsEmpty());
    EXPECT_TRUE(m_Client->GetOutgoingPlain().IsEmpty());
    Append(m_Client->GetOutgoingPlain(), "third");
    Exchange(*m_Client, *m_Server);
    EXPECT_EQ(Take(m_Server->GetIncomingDecrypted()), "first,second,third");
    EXPECT_FALSE(m_Client->HasError() || m_Server->HasError());
}

TEST_F(EncryptionIOBuffers, ManyRecordsInOneFeedAllDecrypt) {
    Connect();
    std::string sent;
    for (size_t size : {1u, 1023u, 1024u, 1025u, 5000u, 16384u, 40000u}) {
        const std::string piece = MakeBytes(size) + "|";
        sent += piece;
        Append(m_Client->GetOutgoingPlain(), piece);
        m_Client->ProcessIO();
    }
    Append(m_Server->GetIncomingEncrypted(), Take(m_Client->GetOutgoingEncrypted()));
    m_Server->ProcessIO();
    EXPECT_EQ(Take(m_Server->GetIncomingDecrypted()), sent);
    EXPECT_FALSE(m_Server->HasError());
}

TEST_F(EncryptionIOBuffers, ARecordSplitAnywhereGivesNoError) {
    Connect();
    const std::string sent = MakeBytes(3000);
    Append(m_Client->GetOutgoingPlain(), sent);
    m_Client->ProcessIO();
    const std::string record = Take(m_Client->GetOutgoingEncrypted());
    for (size_t split : {size_t(1), size_t(5), record.size() / 2, record.size() - 1}) {
        c_EncryptionIOBuffers client(&m_ClientContext);
        c_EncryptionIOBuffers server(&m_ServerContext);
        ASSERT_TRUE(client.SetServerName("server.test") && client.StartHandshake() && server.StartHandshake());
        Exchange(client, server);
        Append(client.GetOutgoingPlain(), sent);
        client.ProcessIO();
        const std::string bytes = Take(client.GetOutgoingEncrypted());
        Append(server.GetIncomingEncrypted(), bytes.substr(0, split));
        server.ProcessIO();
        EXPECT_TRUE(server.GetIncomingDecrypted().IsEmpty()) << split;
        EXPECT_FALSE(server.HasError()) << split << ": " << Text(server.GetErrorText());
        Append(server.GetIncomingEncrypted(), bytes.substr(split));
        server.ProcessIO();
        EXPECT_EQ(Take(server.GetIncomingDecrypted()), sent) << split;
    }
}

TEST_F(EncryptionIOBuffers, ACorruptedRecordIsStickyAndKeepsTheFirstText) {
    Connect();
    Append(m_Client->GetOutgoingPlain(), MakeBytes(100));
    m_Client->ProcessIO();
    std::string record = Take(m_Client->GetOutgoingEncrypted());
    record[record.size() - 3] ^= 0x55;
    Append(m_Server->GetIncomingEncrypted(), record);
    m_Server->ProcessIO();
    ASSERT_TRUE(m_Server->HasError());
    const std::string first = Text(m_Server->GetErrorText());
    EXPECT_EQ(first.rfind(READ_FAILURE, 0), 0u) << first;
    EXPECT_GT(first.size(), sizeof READ_FAILURE) << "OpenSSL's reason follows";
    EXPECT_TRUE(m_Server->GetIncomingDecrypted().IsEmpty());
    EXPECT_FALSE(m_Server->NeedsProcessing());

    m_Server->SetError("second");
    Append(m_Server->GetIncomingEncrypted(), "\x17\x03\x03\x00\x05garbage");
    m_Server->ProcessIO();
    EXPECT_EQ(Text(m_Server->GetErrorText()), first);
    EXPECT_FALSE(m_Server->StartHandshake());
    EXPECT_FALSE(m_Server->UseCertificateFile(Path("bundle.pem")));
}

TEST_F(EncryptionIOBuffers, CloseNotifyIsSeenAndNoError) {
    Connect();
    EXPECT_FALSE(m_Server->IsClosed());
    m_Client->Shutdown();
    EXPECT_TRUE(m_Client->IsClosed());
    Pump(*m_Client, *m_Server);
    EXPECT_TRUE(m_Server->IsClosed());
    EXPECT_FALSE(m_Server->HasError());
}

TEST_F(EncryptionIOBuffers, AStaleErrorOnTheQueueDoesNotBreakALaterRead) {
    Connect();
    Append(m_Client->GetOutgoingPlain(), "after a stale error");
    m_Client->ProcessIO();
    Append(m_Server->GetIncomingEncrypted(), Take(m_Client->GetOutgoingEncrypted()));
    ERR_raise(ERR_LIB_SSL, SSL_R_NO_CIPHERS_AVAILABLE);
    m_Server->ProcessIO();
    EXPECT_FALSE(m_Server->HasError()) << Text(m_Server->GetErrorText());
    EXPECT_EQ(Take(m_Server->GetIncomingDecrypted()), "after a stale error");
}

TEST_F(EncryptionIOBuffers, ClientRenegotiationWorks) {
    Connect();
    ASSERT_TRUE(m_Client->Renegotiate()) << Text(m_Client->GetErrorText());
    EXPECT_FALSE(m_Client->GetOutgoingEncrypted().IsEmpty());
    Append(m_Client->GetOutgoingPlain(), "during");
    Exchange(*m_Client, *m_Server);
    Append(m_Server->GetOutgoingPlain(), "after");
    Exchange(*m_Client, *m_Server);
    EXPECT_EQ(Take(m_Server->GetIncomingDecrypted()), "during");
    EXPECT_EQ(Take(m_Client->GetIncomingDecrypted()), "after");
    EXPECT_FALSE(m_Client->HasError()) << Text(m_Client->GetErrorText());
    EXPECT_FALSE(m_Server->HasError()) << Text(m_Server->GetErrorText());
}

TEST_F(EncryptionIOBuffers, TheServerIsVerified) {
    const struct {
        const char* m_Name;
        bool m_Trusted;
        const char* m_ServerName;
        const char* m_Reason; // null: the handshake succeeds
    } CASES[] = {
        {"trusted, right name", true, "server.test", nullptr},
        {"trusted, another name", true, "other.test", "hostname mismatch"},
        {"trusted, an address the certificate lacks", true, "127.0.0.1", "IP address mismatch"},
        {"authority not trusted", false, "server.test", "unable to get local issuer certificate"},
    };
    for (const auto& row : CASES) {
        c_TLSContext clientContext(3, 0);
        if (row.m_Trusted) {
            X509_STORE_load_file(SSL_CTX_get_cert_store(clientContext.GetSSLContext()),
                                 s_p_Authority->GetCertificatePath().c_str());
        }
        c_EncryptionIOBuffers client(&clientContext);
        c_EncryptionIOBuffers server(&m_ServerContext);
        ASSERT_TRUE(client.SetServerName(row.m_ServerName) && client.StartHandshake() && server.StartHandshake());
        Append(client.GetOutgoingPlain(), "secret");
        Exchange(client, server);
        if (row.m_Reason == nullptr) {
            EXPECT_FALSE(client.HasError()) << row.m_Name << ": " << Text(client.GetErrorText());
            EXPECT_EQ(Take(server.GetIncomingDecrypted()), "secret") << row.m_Name;
            continue;
        }
        const std::string error = Text(client.GetErrorText());
        EXPECT_EQ(error.rfind(READ_FAILURE, 0), 0u) << row.m_Name << ": " << error;
        EXPECT_NE(error.find(std::string("certificate verify error: ") + row.m_Reason), std::string::npos)
            << row.m_Name << ": " << error;
        EXPECT_TRUE(server.GetIncomingDecrypted().IsEmpty()) << row.m_Name;
    }
}

TEST_F(EncryptionIOBuffers, AnEmptyServerNameIsRefused) {
    EXPECT_FALSE(m_Client->SetServerName(""));
    EXPECT_TRUE(m_Client->HasError());
    EXPECT_EQ(Text(m_Client->GetErrorText()).rfind("Failed to set the server name  for verification.  ", 0), 0u)
        << Text(m_Client->GetErrorText());
    EXPECT_TRUE(m_Server->SetServerName(""));
    EXPECT_FALSE(m_Server->HasError());
}

TEST_F(EncryptionIOBuffers, ConnectionCertificateFromOneFile) {
    c_TLSContext bareServerContext(3, 1);
    c_EncryptionIOBuffers server(&bareServerContext);
    ASSERT_TRUE(server.UseCertificateFile(Path("bundle.pem"))) << Text(server.GetErrorText());
    m_Server.emplace(&bareServerContext);
    ASSERT_TRUE(m_Server->UseCertificateFile(Path("bundle.pem")));
    Connect();
    Append(m_Client->GetOutgoingPlain(), "hello");
    Pump(*m_Client, *m_Server);
    EXPECT_EQ(Take(m_Server->GetIncomingDecrypted()), "hello");
}

TEST_F(EncryptionIOBuffers, CertificateFileFailures) {
    const struct {
        const char* m_File;
        const char* m_TextStart;
    } CASES[] = {
        {"missing.pem", "Failed to use certificate file "},
        {"server.test.key", "Failed to use certificate file "},
        {"server.test.crt", "Failed to use private key from file "},
    };
    for (const auto& row : CASES) {
        c_EncryptionIOBuffers server(&m_ServerContext);
        const c_String path = Path(row.m_File);
        EXPECT_FALSE(server.UseCertificateFile(path)) << row.m_File;
        const std::string expected = row.m_TextStart + std::string(path.GetChars()) + ".  error:";
        EXPECT_EQ(Text(server.GetErrorText()).rfind(expected, 0), 0u) << Text(server.GetErrorText());
    }
}

TEST_F(EncryptionIOBuffers, ClientCertificateFailures) {
    const struct {
        const char* m_Authority;
        const char* m_Certificate;
        const char* m_Key;
        const char* m_TextStart;
    } CASES[] = {
        {"missing.pem", "server.test.crt", "server.test.key", "Failed to load certificate authority file "},
        {"server.test.key", "server.test.crt", "server.test.key", "Failed to load certificate authority file "},
        {"ca.crt", "server.test.key", "server.test.key", "Failed to use client certificate from file "},
        {"ca.crt", "server.test.crt", "missing.key", "Failed to use client certificate private key from file "},
    };
    for (const auto& row : CASES) {
        c_EncryptionIOBuffers client(&m_ClientContext);
        EXPECT_FALSE(client.UseClientCertificate(Path(row.m_Authority), Path(row.m_Certificate), Path(row.m_Key)));
        EXPECT_EQ(Text(client.GetErrorText()).rfind(row.m_TextStart, 0), 0u) << Text(client.GetErrorText());
        EXPECT_FALSE(client.UseClientCertificate(Path("ca.crt"), Path("server.test.crt"), Path("server.test.key")));
    }
    c_EncryptionIOBuffers client(&m_ClientContext);
    EXPECT_TRUE(client.UseClientCertificate(Path("ca.crt"), Path("server.test.crt"), Path("server.test.key")));
}

TEST(EncryptionIOBuffersWithoutContext, NoSSLObjectMeansNoOpenSSLCalls) {
    c_TLSContext empty(5, 0);
    c_EncryptionIOBuffers buffers(&empty);
    ASSERT_TRUE(buffers.HasError());
    EXPECT_EQ(Text(buffers.GetErrorText()).rfind("Failed to create a new SSL object.  ", 0), 0u);
    EXPECT_TRUE(buffers.SetServerName("server.test"));
    EXPECT_FALSE(buffers.StartHandshake());
    EXPECT_FALSE(buffers.UseCertificateFile("/tmp"));
    EXPECT_FALSE(buffers.UseClientCertificate("/tmp", "/tmp", "/tmp"));
    EXPECT_FALSE(buffers.Renegotiate());
    Append(buffers.GetOutgoingPlain(), "bytes");
    Append(buffers.GetIncomingEncrypted(), "bytes");
    buffers.ProcessIO();
    buffers.Shutdown();
    EXPECT_FALSE(buffers.IsClosed());
    EXPECT_FALSE(buffers.NeedsProcessing());
    EXPECT_EQ(buffers.GetOutgoingPlain().GetSize(), 5u);
}

TEST_F(EncryptionIOBuffers, BuffersThatCannotGrowGiveAnError) {
    Connect();
    Append(m_Client->GetOutgoingPlain(), "bytes");
    m_Client->ProcessIO();
    Append(m_Server->GetIncomingEncrypted(), Take(m_Client->GetOutgoingEncrypted()));
    m_Server->GetIncomingDecrypted().Clear(true);
    {
        c_FailingAllocation failing;
        m_Server->ProcessIO();
    }
    EXPECT_EQ(Text(m_Server->GetErrorText()), "Failed to make room for incoming decrypted data.");
    EXPECT_TRUE(m_Server->GetIncomingDecrypted().IsEmpty());

    Append(m_Client->GetOutgoingPlain(), "more");
    m_Client->GetOutgoingEncrypted().Clear(true);
    {
        c_FailingAllocation failing;
        m_Client->ProcessIO();
    }
    EXPECT_EQ(Text(m_Client->GetErrorText()), "Failed to make room for outgoing encrypted data.");
    EXPECT_TRUE(m_Client->GetOutgoingEncrypted().IsEmpty());
}

} // namespace
