// Tests of the client on its proxy roads, against real proxies in front of nginx: http URLs to
// tinyproxy in plain text, https URLs to squid's TLS port (the proxy's certificate checked, Basic
// credentials sent only there once it asked), and TLS to the server through the SOCKS 5 proxies
// microsocks and dante, the server's certificate checked end to end.

#include "protocols/http/c_AsyncHTTP2.h"

#include "protocols/http/ProxyAuthorization.h"

#include "network/testing/c_DanteProxy.h"
#include "network/testing/c_MicrosocksProxy.h"
#include "network/testing/c_NginxServer.h"
#include "network/testing/c_TrustedAuthorityTest.h"
#include "platform/testing/TestFiles.h"
#include "protocols/http/testing/c_HTTPClientFixture.h"
#include "protocols/http/testing/c_SquidProxy.h"
#include "protocols/http/testing/c_TinyproxyServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr const char* CONTENT = "the file behind the proxy";
constexpr const char* COMPLETED = "Request completed with the HTTP response status code 200.";

// What the server behind the proxies serves: the file, a redirect to it, and the credentials it was
// sent.
std::string GetServerDirectives() {
    return "    absolute_redirect off;\n"
           "    location = /moved { return 302 /credentials; }\n"
           "    location = /credentials { return 200 \"[$http_authorization][$http_proxy_authorization]\"; }\n";
}

// The client's proxy record: the proxy at address, one port for its scheme, the other unused.
void SetProxy(c_HTTPProxySettings& settings, const char* address, std::uint16_t httpPort, std::uint16_t httpsPort,
              const char* userName = "", const char* password = "") {
    settings.m_UseHTTPProxy = true;
    settings.m_ProxyAddress = address;
    settings.m_HTTPPort = httpPort;
    settings.m_HTTPSPort = httpsPort;
    settings.m_Username = userName;
    settings.m_Password = password;
}

// tinyproxy on 127.0.0.3, open and with a password, in front of plain nginx on 127.0.0.2.
class AsyncHTTP2PlainProxy : public testing::Test, protected c_HTTPClientFixture {
protected:
    static void SetUpTestSuite() {
        s_p_Server =
            std::make_unique<c_NginxServer>("127.0.0.2", c_NginxServer::s_PlainDirectives{"", GetServerDirectives()});
        WriteTestFile(s_p_Server->GetFilePath("file"), CONTENT);
        s_p_Open = std::make_unique<c_TinyproxyServer>("127.0.0.3");
        s_p_Closed = std::make_unique<c_TinyproxyServer>("127.0.0.3", "user", "secret");
    }
    static void TearDownTestSuite() {
        s_p_Open.reset();
        s_p_Closed.reset();
        s_p_Server.reset();
    }
    void SetUp() override {
        ASSERT_NE(s_p_Server->GetPort(), 0);
        ASSERT_NE(s_p_Open->GetPort(), 0);
        ASSERT_NE(s_p_Closed->GetPort(), 0);
        m_p_Client->SetProxySettings(&m_Proxy);
    }
    static std::string GetURL(const std::string& path) {
        return "http://127.0.0.2:" + std::to_string(s_p_Server->GetPort()) + path;
    }

    static inline std::unique_ptr<c_NginxServer> s_p_Server;
    static inline std::unique_ptr<c_TinyproxyServer> s_p_Open;
    static inline std::unique_ptr<c_TinyproxyServer> s_p_Closed;
    c_HTTPProxySettings m_Proxy;
};

TEST_F(AsyncHTTP2PlainProxy, OpenProxyTakesTheAbsoluteURL) {
    SetProxy(m_Proxy, "127.0.0.3", s_p_Open->GetPort(), 0);
    const std::int32_t id = Send(1, GetURL("/file"));
    ASSERT_TRUE(WaitForReport(id));
    EXPECT_EQ(Report(id).m_EndState, 2);
    EXPECT_EQ(Report(id).m_StatusText, COMPLETED);
    EXPECT_EQ(Report(id).m_Body, CONTENT);
    EXPECT_NE(s_p_Open->GetLog().find("GET " + GetURL("/file") + " HTTP/1.1"), std::string::npos) << s_p_Open->GetLog();
}

// Credentials never go over the plain connection, so the challenge fails the request.
TEST_F(AsyncHTTP2PlainProxy, ChallengeOverPlainTextIsNotAnswered) {
    SetProxy(m_Proxy, "127.0.0.3", s_p_Closed->GetPort(), 0, "user", "secret");
    const std::int32_t id = Send(1, GetURL("/file"));
    ASSERT_TRUE(WaitForReport(id));
    EXPECT_EQ(Report(id).m_FirstID, id);
    EXPECT_EQ(Report(id).m_EndState, 3);
    EXPECT_EQ(Report(id).m_StatusCode, 407);
    EXPECT_EQ(Report(id).m_StatusText, "Failed to set the connection to use proxy authorization.  Proxy "
                                       "authentication cannot be completed over a non-secure connection.  HTTPS is "
                                       "required.");
}

// The owner's own credentials pass the proxy once; the redirect's follow-up goes without them.
TEST_F(AsyncHTTP2PlainProxy, OwnCredentialsStayBehindOnARedirect) {
    SetProxy(m_Proxy, "127.0.0.3", s_p_Closed->GetPort(), 0, "user", "secret");
    c_String value;
    c_String error;
    ASSERT_TRUE(GetProxyAuthorizationValue(m_Proxy, value, error));
    const std::int32_t id =
        Send(1, GetURL("/moved"), {{"Proxy-Authorization", value}, {"Authorization", "Basic eA=="}});
    ASSERT_TRUE(WaitForChainReport(id));
    ASSERT_EQ(m_Owner.m_Redirects.size(), 1U);
    EXPECT_EQ(ChainReport(id).m_FinalID, m_Owner.m_Redirects[0].second);
    EXPECT_EQ(ChainReport(id).m_StatusCode, 407);
    EXPECT_EQ(ChainReport(id).m_EndState, 3);
}

// squid's TLS port on 127.0.0.4 in front of nginx over TLS on 127.0.0.5.
class AsyncHTTP2TLSProxy : public c_TrustedAuthorityTest, protected c_HTTPClientFixture {
protected:
    static void SetUpTestSuite() {
        c_TrustedAuthorityTest::SetUpTestSuite();
        ASSERT_TRUE(s_p_Authority->Issue("proxy", "IP:127.0.0.4"));
        ASSERT_TRUE(s_p_Stranger->Issue("proxy", "IP:127.0.0.4"));
        ASSERT_TRUE(s_p_Authority->Issue("127.0.0.5", "IP:127.0.0.5"));
        s_p_Server =
            std::make_unique<c_NginxServer>("127.0.0.5", s_p_Authority->GetPath("127.0.0.5.crt"),
                                            s_p_Authority->GetPath("127.0.0.5.key"), "", GetServerDirectives());
        WriteTestFile(s_p_Server->GetFilePath("file"), CONTENT);
        s_p_Proxy = std::make_unique<c_SquidProxy>(MakeSettings(*s_p_Authority));
    }
    static void TearDownTestSuite() {
        s_p_Proxy.reset();
        s_p_Server.reset();
        c_TrustedAuthorityTest::TearDownTestSuite();
    }
    void SetUp() override {
        ASSERT_NE(s_p_Server->GetPort(), 0);
        ASSERT_NE(s_p_Proxy->GetPort(), 0);
        m_p_Client->SetProxySettings(&m_Proxy);
    }
    // The proxy's certificate from the given authority.
    static c_SquidProxy::s_Settings MakeSettings(const c_TestAuthority& authority) {
        return {"127.0.0.4",
                authority.GetPath("proxy.crt"),
                authority.GetPath("proxy.key"),
                s_p_Authority->GetCertificatePath(),
                "user",
                "secret",
                "squid proxy"};
    }
    static std::string GetURL(const std::string& path) {
        return "https://127.0.0.5:" + std::to_string(s_p_Server->GetPort()) + path;
    }
    void UseProxy(const char* userName, const char* password) {
        SetProxy(m_Proxy, "127.0.0.4", 0, s_p_Proxy->GetPort(), userName, password);
    }

    static inline std::unique_ptr<c_NginxServer> s_p_Server;
    static inline std::unique_ptr<c_SquidProxy> s_p_Proxy;
    c_HTTPProxySettings m_Proxy;
};

TEST_F(AsyncHTTP2TLSProxy, ChallengeIsAnsweredOnceAndLaterRequestsCarryTheCredentials) {
    UseProxy("user", "secret");
    const std::int32_t id = Send(1, GetURL("/file"));
    ASSERT_TRUE(WaitForChainReport(id));
    const s_FinishedReport& report = ChainReport(id);
    EXPECT_NE(report.m_FinalID, id);
    EXPECT_EQ(report.m_EndState, 2);
    EXPECT_EQ(report.m_StatusText, COMPLETED);
    EXPECT_EQ(report.m_Body, CONTENT);
    // A proxy resend is not a redirect.
    EXPECT_TRUE(m_Owner.m_Redirects.empty());
    EXPECT_EQ(m_Owner.m_Reports.size(), 1U);
    EXPECT_NE(s_p_Proxy->GetAccessLog().find("GET " + GetURL("/file") + " user"), std::string::npos)
        << s_p_Proxy->GetAccessLog();

    const std::int32_t next = Send(1, GetURL("/file"));
    ASSERT_TRUE(WaitForChainReport(next));
    EXPECT_EQ(ChainReport(next).m_FinalID, next);
    EXPECT_EQ(ChainReport(next).m_Body, CONTENT);
}

TEST_F(AsyncHTTP2TLSProxy, RefusedCredentialsNameTheRealm) {
    UseProxy("user", "wrong");
    const std::int32_t id = Send(1, GetURL("/file"));
    ASSERT_TRUE(WaitForChainReport(id));
    const s_FinishedReport& report = ChainReport(id);
    EXPECT_EQ(report.m_FinalID, id + 1);
    EXPECT_EQ(report.m_EndState, 3);
    EXPECT_EQ(report.m_StatusCode, 407);
    EXPECT_EQ(report.m_StatusText, "Proxy authentication for \"squid proxy\" for HTTP request with ID " +
                                       std::to_string(id + 1) +
                                       " was not accepted.  The username or password in the proxy settings may be "
                                       "incorrect.");
}

// The resend cannot carry such a name, and neither can any later request to the proxy.
TEST_F(AsyncHTTP2TLSProxy, UserNameWithAColonFailsTheResend) {
    UseProxy("dom:user", "secret");
    const std::int32_t id = Send(1, GetURL("/file"));
    ASSERT_TRUE(WaitForReport(id));
    EXPECT_EQ(Report(id).m_FirstID, id);
    EXPECT_EQ(Report(id).m_EndState, 3);
    EXPECT_EQ(Report(id).m_StatusText, "Attempt to send a new request for proxy authorization failed.");
    EXPECT_EQ(Send(1, GetURL("/file")), 0);
}

// The follow-up gets the proxy's credentials from the proxy's record again, and the server's are
// left behind.
TEST_F(AsyncHTTP2TLSProxy, RedirectThroughTheProxyLeavesTheServersCredentialsBehind) {
    UseProxy("user", "secret");
    const std::int32_t id = Send(1, GetURL("/moved"), {{"Authorization", "Basic eA=="}});
    ASSERT_TRUE(WaitForChainReport(id));
    const s_FinishedReport& report = ChainReport(id);
    EXPECT_EQ(report.m_EndState, 2);
    EXPECT_EQ(report.m_Body, "[][]");
    ASSERT_EQ(m_Owner.m_Redirects.size(), 1U);
    EXPECT_EQ(report.m_FinalID, m_Owner.m_Redirects[0].second);
    EXPECT_EQ(m_Owner.m_Reports.size(), 1U);
    EXPECT_NE(s_p_Proxy->GetAccessLog().find("GET " + GetURL("/credentials") + " user"), std::string::npos)
        << s_p_Proxy->GetAccessLog();
}

TEST_F(AsyncHTTP2TLSProxy, ProxyWithAStrangersCertificateIsRefused) {
    c_SquidProxy impostor(MakeSettings(*s_p_Stranger));
    ASSERT_NE(impostor.GetPort(), 0);
    SetProxy(m_Proxy, "127.0.0.4", 0, impostor.GetPort(), "user", "secret");
    const std::int32_t id = Send(1, GetURL("/file"));
    ASSERT_TRUE(WaitForReport(id));
    EXPECT_EQ(Report(id).m_EndState, 3);
    EXPECT_TRUE(Report(id).m_Body.empty());
    EXPECT_TRUE(m_Session.HasLineContaining("certificate verify error"));
}

// nginx over TLS on 127.0.0.5 reached through the core's SOCKS 5 proxy on 127.0.0.1.
class AsyncHTTP2Socks5 : public c_TrustedAuthorityTest, protected c_HTTPClientFixture {
protected:
    static void SetUpTestSuite() {
        c_TrustedAuthorityTest::SetUpTestSuite();
        ASSERT_TRUE(s_p_Authority->Issue("127.0.0.5", "IP:127.0.0.5"));
        ASSERT_TRUE(s_p_Stranger->Issue("127.0.0.5", "IP:127.0.0.5"));
    }

    // A GET for /file through the proxy at port, from a server with the authority's certificate; the
    // chain's report.
    s_FinishedReport GetThroughProxy(const c_TestAuthority& authority, std::uint16_t proxyPort,
                                     const char* userName = "", const char* password = "") {
        c_NginxServer server("127.0.0.5", authority.GetPath("127.0.0.5.crt"), authority.GetPath("127.0.0.5.key"));
        WriteTestFile(server.GetFilePath("file"), CONTENT);
        EXPECT_NE(server.GetPort(), 0);
        m_ServerPort = server.GetPort();
        c_Socks5ConnectionSettings& settings = *m_Session.GetCore()->GetSocks5ConnectionSettings();
        settings.m_UseSocks5 = true;
        settings.m_Host = "127.0.0.1";
        settings.m_Port = proxyPort;
        settings.m_UserName = userName;
        settings.m_Password = password;
        const std::int32_t id = Send(1, "https://127.0.0.5:" + std::to_string(server.GetPort()) + "/file");
        if (!WaitForReport(id)) {
            return {};
        }
        return Report(id);
    }

    std::uint16_t m_ServerPort = 0;
};

TEST_F(AsyncHTTP2Socks5, MicrosocksWithoutAuthentication) {
    c_MicrosocksProxy proxy;
    ASSERT_NE(proxy.GetPort(), 0);
    const s_FinishedReport report = GetThroughProxy(*s_p_Authority, proxy.GetPort());
    EXPECT_EQ(report.m_StatusText, COMPLETED);
    EXPECT_EQ(report.m_Body, CONTENT);
}

TEST_F(AsyncHTTP2Socks5, MicrosocksWithUserNameAndPassword) {
    c_MicrosocksProxy proxy("user", "secret");
    ASSERT_NE(proxy.GetPort(), 0);
    const s_FinishedReport report = GetThroughProxy(*s_p_Authority, proxy.GetPort(), "user", "secret");
    EXPECT_EQ(report.m_StatusText, COMPLETED);
    EXPECT_EQ(report.m_Body, CONTENT);
}

// The proxy is on the road: it refuses what it does not know.
TEST_F(AsyncHTTP2Socks5, MicrosocksRefusesAWrongPassword) {
    c_MicrosocksProxy proxy("user", "secret");
    ASSERT_NE(proxy.GetPort(), 0);
    const s_FinishedReport report = GetThroughProxy(*s_p_Authority, proxy.GetPort(), "user", "wrong");
    EXPECT_EQ(report.m_EndState, 3);
    EXPECT_TRUE(report.m_Body.empty());
}

TEST_F(AsyncHTTP2Socks5, Dante) {
    c_DanteProxy proxy;
    ASSERT_NE(proxy.GetPort(), 0);
    const s_FinishedReport report = GetThroughProxy(*s_p_Authority, proxy.GetPort());
    EXPECT_EQ(report.m_StatusText, COMPLETED);
    EXPECT_EQ(report.m_Body, CONTENT);
    EXPECT_NE(proxy.GetLog().find("127.0.0.5." + std::to_string(m_ServerPort)), std::string::npos) << proxy.GetLog();
}

TEST_F(AsyncHTTP2Socks5, ServerWithAStrangersCertificateIsRefused) {
    c_MicrosocksProxy proxy;
    ASSERT_NE(proxy.GetPort(), 0);
    const s_FinishedReport report = GetThroughProxy(*s_p_Stranger, proxy.GetPort());
    EXPECT_EQ(report.m_EndState, 3);
    EXPECT_TRUE(report.m_Body.empty());
    EXPECT_TRUE(m_Session.HasLineContaining("certificate verify error"));
}

} // namespace
