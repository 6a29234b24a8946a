// End-to-end tests of c_EncryptionIOBuffers as a client of `openssl s_server` on 127.0.0.1, with an
// authority and certificates that the test makes.

#include "network/c_EncryptionIOBuffers.h"

#include "network/testing/c_OpenSSLServer.h"
#include "network/testing/c_TestAuthority.h"

#include <gtest/gtest.h>
#include <openssl/ssl.h>

#include <arpa/inet.h>
#include <cstdlib>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

struct s_Outcome {
    std::string m_Page;  // what the server sent back
    std::string m_Error; // the client's first error
};

// Sends one request through the client over a TCP connection and reads until the server closes.
s_Outcome RunClient(c_EncryptionIOBuffers& client, int port) {
    s_Outcome outcome;
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    // A safety net against a peer that never answers, not a wait for readiness.
    const timeval limit = {10, 0};
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(socket);
        outcome.m_Error = "connect failed";
        return outcome;
    }
    client.GetOutgoingPlain().Append("GET / HTTP/1.0\r\n\r\n", 18);
    for (;;) {
        client.ProcessIO();
        c_ByteBuffer& records = client.GetOutgoingEncrypted();
        if (!records.IsEmpty() && send(socket, records.GetData(), records.GetSize(), MSG_NOSIGNAL) > 0) {
            records.Consume(records.GetSize());
        }
        if (client.HasError() || client.IsClosed()) {
            break;
        }
        char block[16384];
        const ssize_t received = recv(socket, block, sizeof block, 0);
        if (received <= 0) {
            break;
        }
        client.GetIncomingEncrypted().Append(block, static_cast<std::uint32_t>(received));
    }
    close(socket);
    c_ByteBuffer& page = client.GetIncomingDecrypted();
    outcome.m_Page.assign(reinterpret_cast<const char*>(page.GetData()), page.GetSize());
    outcome.m_Error = client.GetErrorText().GetChars();
    return outcome;
}

class OpenSSLServerPeer : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_p_Authority = new c_TestAuthority;
        s_p_Stranger = new c_TestAuthority("Untrusted Authority");
        ASSERT_TRUE(s_p_Authority->IsReady() && s_p_Stranger->IsReady());
        ASSERT_TRUE(s_p_Authority->Issue("server.test", "DNS:server.test"));
        ASSERT_TRUE(s_p_Authority->Issue("sni.test", "DNS:sni.test"));
        ASSERT_TRUE(s_p_Authority->Issue("address", "IP:127.0.0.1"));
        ASSERT_TRUE(s_p_Authority->Issue("client.test", "DNS:client.test"));
        ASSERT_TRUE(s_p_Stranger->Issue("server.test", "DNS:server.test"));
    }
    static void TearDownTestSuite() {
        delete s_p_Authority;
        delete s_p_Stranger;
    }

    static std::vector<std::string> ServeWith(const c_TestAuthority& authority, const std::string& name) {
        return {"-cert", authority.GetPath(name + ".crt"), "-key", authority.GetPath(name + ".key")};
    }
    static std::vector<std::string> Serve(const std::string& name) { return ServeWith(*s_p_Authority, name); }
    static void Add(std::vector<std::string>& options, const std::vector<std::string>& more) {
        options.insert(options.end(), more.begin(), more.end());
    }

    // A client over a context that trusts the test authority.
    static s_Outcome Connect(int method, const std::vector<std::string>& serverOptions, const char* serverName,
                             bool trusted = true) {
        c_OpenSSLServer server(serverOptions);
        EXPECT_NE(server.GetPort(), 0);
        c_TLSContext context(method, 0);
        if (trusted) {
            X509_STORE_load_file(SSL_CTX_get_cert_store(context.GetSSLContext()),
                                 s_p_Authority->GetCertificatePath().c_str());
        }
        c_EncryptionIOBuffers client(&context);
        EXPECT_TRUE(client.SetServerName(serverName) && client.StartHandshake());
        return RunClient(client, server.GetPort());
    }

    static c_TestAuthority* s_p_Authority;
    static c_TestAuthority* s_p_Stranger;
};

c_TestAuthority* OpenSSLServerPeer::s_p_Authority = nullptr;
c_TestAuthority* OpenSSLServerPeer::s_p_Stranger = nullptr;

TEST_F(OpenSSLServerPeer, EachMethodConnectsWithItsVersion) {
    const struct {
        int m_Method;
        const char* m_Protocol;
        bool m_LevelZero;
    } CASES[] = {
        {3, "Protocol  : TLSv1.2", false},
        {2, "Protocol  : TLSv1.1", true},
        {1, "Protocol  : TLSv1\n", true},
    };
    for (const auto& row : CASES) {
        std::vector<std::string> options = Serve("server.test");
        if (row.m_LevelZero) {
            Add(options, {"-cipher", "DEFAULT:@SECLEVEL=0", "-min_protocol", "TLSv1"});
        }
        const s_Outcome outcome = Connect(row.m_Method, options, "server.test");
        EXPECT_EQ(outcome.m_Error, "") << row.m_Method;
        EXPECT_NE(outcome.m_Page.find(row.m_Protocol), std::string::npos) << row.m_Method << outcome.m_Page;
    }
}

TEST_F(OpenSSLServerPeer, ClientCertificateForAServerThatRequiresOne) {
    std::vector<std::string> options = Serve("server.test");
    Add(options, {"-Verify", "1", "-CAfile", s_p_Authority->GetCertificatePath()});
    c_OpenSSLServer server(options);
    ASSERT_NE(server.GetPort(), 0);
    c_TLSContext context(4, 0);
    c_EncryptionIOBuffers client(&context);
    ASSERT_TRUE(client.UseClientCertificate(s_p_Authority->GetCertificatePath().c_str(),
                                            s_p_Authority->GetPath("client.test.crt").c_str(),
                                            s_p_Authority->GetPath("client.test.key").c_str()));
    ASSERT_TRUE(client.SetServerName("server.test") && client.StartHandshake());
    const s_Outcome outcome = RunClient(client, server.GetPort());
    EXPECT_EQ(outcome.m_Error, "");
    EXPECT_NE(outcome.m_Page.find("Client certificate"), std::string::npos) << outcome.m_Page;
    EXPECT_NE(outcome.m_Page.find("client.test"), std::string::npos) << outcome.m_Page;

    // Without one the same server refuses the handshake.
    const s_Outcome refused = Connect(4, options, "server.test");
    EXPECT_NE(refused.m_Error, "");
}

TEST_F(OpenSSLServerPeer, ServerNameIndicationReachesTheServer) {
    // The server shows sni.test's certificate only to a client that names sni.test.
    std::vector<std::string> options = Serve("server.test");
    Add(options, {"-servername", "sni.test", "-cert2", s_p_Authority->GetPath("sni.test.crt"), "-key2",
                  s_p_Authority->GetPath("sni.test.key")});
    const s_Outcome outcome = Connect(3, options, "sni.test");
    EXPECT_EQ(outcome.m_Error, "");
    EXPECT_NE(outcome.m_Page.find("Protocol  : TLSv1.2"), std::string::npos);
}

TEST_F(OpenSSLServerPeer, TheServerIsVerified) {
    const struct {
        const char* m_Name;
        std::vector<std::string> m_Options;
        const char* m_ServerName;
        const char* m_Reason; // null: passes
    } CASES[] = {
        {"trusted authority, right name", Serve("server.test"), "server.test", nullptr},
        {"untrusted authority", ServeWith(*s_p_Stranger, "server.test"), "server.test",
         "unable to get local issuer certificate"},
        {"certificate for another name", Serve("sni.test"), "server.test", "hostname mismatch"},
        {"address certificate, that address", Serve("address"), "127.0.0.1", nullptr},
        {"address certificate, another address", Serve("address"), "127.0.0.2", "IP address mismatch"},
        {"name certificate, an address", Serve("server.test"), "127.0.0.1", "IP address mismatch"},
    };
    for (const auto& row : CASES) {
        const s_Outcome outcome = Connect(3, row.m_Options, row.m_ServerName);
        if (row.m_Reason == nullptr) {
            EXPECT_EQ(outcome.m_Error, "") << row.m_Name;
            EXPECT_NE(outcome.m_Page.find("HTTP/1.0 200 ok"), std::string::npos) << row.m_Name;
            continue;
        }
        EXPECT_NE(outcome.m_Error.find(std::string("certificate verify error: ") + row.m_Reason), std::string::npos)
            << row.m_Name << ": " << outcome.m_Error;
        EXPECT_EQ(outcome.m_Page, "") << row.m_Name;
    }
}

TEST_F(OpenSSLServerPeer, CertificateFileVariableAddsTheAuthority) {
    const char* old = std::getenv("SSL_CERT_FILE");
    const std::string saved = old != nullptr ? old : "";
    const s_Outcome untrusted = Connect(3, Serve("server.test"), "server.test", false);
    EXPECT_NE(untrusted.m_Error.find("unable to get local issuer certificate"), std::string::npos) << untrusted.m_Error;

    setenv("SSL_CERT_FILE", s_p_Authority->GetCertificatePath().c_str(), 1);
    const s_Outcome trusted = Connect(3, Serve("server.test"), "server.test", false);
    if (old != nullptr) {
        setenv("SSL_CERT_FILE", saved.c_str(), 1);
    } else {
        unsetenv("SSL_CERT_FILE");
    }
    EXPECT_EQ(trusted.m_Error, "");
    EXPECT_NE(trusted.m_Page.find("HTTP/1.0 200 ok"), std::string::npos);
}

} // namespace
