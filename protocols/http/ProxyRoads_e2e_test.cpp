// Tests of the proxy roads against real proxies on 127.0.0.x, with nginx as the server behind them:
// tinyproxy takes absolute-form requests for http URLs in plain text, squid takes absolute-form
// requests for https URLs on its TLS port (its own certificate checked, the server's checked by
// squid), and dante carries a TLS connection to nginx as a SOCKS 5 proxy. The 407 answers of the
// authenticating proxies go through the challenge parse.

#include "network/testing/RawHTTPGet.h"
#include "network/testing/c_CoreSession.h"
#include "network/testing/c_DanteProxy.h"
#include "network/testing/c_NginxServer.h"
#include "network/testing/c_TrustedAuthorityTest.h"
#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestFiles.h"
#include "protocols/http/ProxyAuthorization.h"
#include "protocols/http/c_HTTPResponse.h"
#include "protocols/http/testing/c_SquidProxy.h"
#include "protocols/http/testing/c_TinyproxyServer.h"
#include "protocols/socket/c_BufferedSocket2.h"
#include "protocols/socket/testing/c_TestBufferedSocketOwner.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr std::int32_t TLS_1_2 = 3;
constexpr const char* CONTENT = "the file behind the proxy";

// The field the client sends, from the proxy settings.
std::string GetAuthorizationLine(const char* password) {
    c_HTTPProxySettings settings;
    settings.m_Username = "user";
    settings.m_Password = password;
    c_String value;
    c_String error;
    EXPECT_TRUE(GetProxyAuthorizationValue(settings, value, error));
    return std::string("Proxy-Authorization: ") + value.GetChars() + "\r\n";
}

struct s_ProxyAnswer {
    std::int32_t m_StatusCode = 0;
    std::string m_Body;
    bool m_Challenge = false;
    std::string m_Realm;
};

// The raw answer through the response parser and its challenge parse.
s_ProxyAnswer ParseAnswer(const s_RawResponse& raw) {
    s_ProxyAnswer answer;
    c_HTTPResponse response(nullptr, 1);
    const std::string head = raw.m_Head + "\r\n";
    response.Feed(reinterpret_cast<const std::uint8_t*>(head.data()), static_cast<std::uint32_t>(head.size()));
    answer.m_StatusCode = response.GetStatusCode();
    answer.m_Body = raw.m_Body;
    c_String error;
    c_String realm;
    answer.m_Challenge = response.ParseProxyAuthenticate(error, realm);
    answer.m_Realm = realm.GetChars();
    return answer;
}

// The host and port of an absolute URL, for the "Host" field.
std::string GetHostField(const std::string& url) {
    const std::size_t start = url.find("://") + 3;
    return url.substr(start, url.find('/', start) - start);
}

// Asks the proxy at address:port for url in absolute form, in plain text or over TLS 1.2.
s_ProxyAnswer AskProxy(const std::string& address, std::uint16_t port, bool secure, const std::string& url,
                       const std::string& headers) {
    c_TestSocketOwner owner(address.c_str(), port);
    owner.m_SecurityMethod = secure ? TLS_1_2 : 0;
    if (!owner.Connect()) {
        return {};
    }
    return ParseAnswer(RawHTTPGet(owner, GetHostField(url), url, headers));
}

struct s_AnswerCase {
    const char* m_Name;
    bool m_Authenticating;  // the proxy asks for credentials
    const char* m_Password; // null: no credentials sent
    std::int32_t m_StatusCode;
    bool m_Challenge;
};

std::string GetHeaders(const s_AnswerCase& row) {
    return row.m_Password != nullptr ? GetAuthorizationLine(row.m_Password) : "";
}

void ExpectAnswer(const s_ProxyAnswer& answer, const s_AnswerCase& row, const std::string& realm) {
    EXPECT_EQ(answer.m_StatusCode, row.m_StatusCode);
    EXPECT_EQ(answer.m_Challenge, row.m_Challenge);
    EXPECT_EQ(answer.m_Realm, row.m_Challenge ? realm : "");
    if (row.m_StatusCode == 200) {
        EXPECT_EQ(answer.m_Body, CONTENT);
    }
}

// tinyproxy on 127.0.0.3 in front of nginx in plain HTTP on 127.0.0.2.
class HTTPProxyPlainRoad : public testing::TestWithParam<s_AnswerCase> {
protected:
    static void SetUpTestSuite() {
        s_p_Server = std::make_unique<c_NginxServer>("127.0.0.2");
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
    }
    std::string GetURL() const { return "http://127.0.0.2:" + std::to_string(s_p_Server->GetPort()) + "/file"; }

    static inline std::unique_ptr<c_NginxServer> s_p_Server;
    static inline std::unique_ptr<c_TinyproxyServer> s_p_Open;
    static inline std::unique_ptr<c_TinyproxyServer> s_p_Closed;
    c_CoreSession m_Session;
};

const s_AnswerCase PLAIN_CASES[] = {
    {"OpenProxyPasses", false, nullptr, 200, false},
    {"ChallengeWithoutCredentials", true, nullptr, 407, true},
    {"CredentialsPass", true, "secret", 200, false},
    // tinyproxy answers refused credentials with a 401 and "WWW-Authenticate", not with a challenge.
    {"WrongCredentialsRefused", true, "wrong", 401, false},
};

TEST_P(HTTPProxyPlainRoad, AnswersAbsoluteFormRequests) {
    const s_AnswerCase& row = GetParam();
    const c_TinyproxyServer& proxy = row.m_Authenticating ? *s_p_Closed : *s_p_Open;
    ExpectAnswer(AskProxy("127.0.0.3", proxy.GetPort(), false, GetURL(), GetHeaders(row)), row, "Tinyproxy");
    if (row.m_StatusCode == 200) {
        EXPECT_NE(proxy.GetLog().find("GET " + GetURL() + " HTTP/1.1"), std::string::npos) << proxy.GetLog();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, HTTPProxyPlainRoad, testing::ValuesIn(PLAIN_CASES),
                         [](const testing::TestParamInfo<s_AnswerCase>& info) { return info.param.m_Name; });

// squid on 127.0.0.4 with an https_port, in front of nginx over TLS on 127.0.0.5; both certificates
// come from the trusted test authority.
class HTTPProxyTLSRoad : public c_TrustedAuthorityTest, public testing::WithParamInterface<s_AnswerCase> {
protected:
    static void SetUpTestSuite() {
        c_TrustedAuthorityTest::SetUpTestSuite();
        ASSERT_TRUE(s_p_Authority->Issue("proxy", "IP:127.0.0.4"));
        ASSERT_TRUE(s_p_Authority->Issue("127.0.0.5", "IP:127.0.0.5"));
        s_p_Server = std::make_unique<c_NginxServer>("127.0.0.5", s_p_Authority->GetPath("127.0.0.5.crt"),
                                                     s_p_Authority->GetPath("127.0.0.5.key"));
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
    std::string GetURL() const { return "https://127.0.0.5:" + std::to_string(s_p_Server->GetPort()) + "/file"; }

    static inline std::unique_ptr<c_NginxServer> s_p_Server;
    static inline std::unique_ptr<c_SquidProxy> s_p_Proxy;
    c_CoreSession m_Session;
};

const s_AnswerCase TLS_CASES[] = {
    {"ChallengeWithoutCredentials", true, nullptr, 407, true},
    {"CredentialsPass", true, "secret", 200, false},
    {"WrongCredentialsChallengedAgain", true, "wrong", 407, true},
};

TEST_P(HTTPProxyTLSRoad, AnswersAbsoluteHTTPSRequests) {
    const s_AnswerCase& row = GetParam();
    ExpectAnswer(AskProxy("127.0.0.4", s_p_Proxy->GetPort(), true, GetURL(), GetHeaders(row)), row, "squid proxy");
    if (row.m_StatusCode == 200) {
        EXPECT_NE(s_p_Proxy->GetAccessLog().find("GET " + GetURL() + " user"), std::string::npos)
            << s_p_Proxy->GetAccessLog();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, HTTPProxyTLSRoad, testing::ValuesIn(TLS_CASES),
                         [](const testing::TestParamInfo<s_AnswerCase>& info) { return info.param.m_Name; });

TEST_F(HTTPProxyTLSRoad, ProxyWithAStrangersCertificateIsRefused) {
    ASSERT_TRUE(s_p_Stranger->Issue("proxy", "IP:127.0.0.4"));
    c_SquidProxy impostor(MakeSettings(*s_p_Stranger));
    ASSERT_NE(impostor.GetPort(), 0);
    const s_ProxyAnswer answer =
        AskProxy("127.0.0.4", impostor.GetPort(), true, GetURL(), GetAuthorizationLine("secret"));
    EXPECT_EQ(answer.m_StatusCode, 0);
    EXPECT_TRUE(answer.m_Body.empty());
    EXPECT_TRUE(m_Session.HasLineContaining("certificate verify error"));
}

// dante on 127.0.0.1 as the core's SOCKS 5 proxy; TLS runs through it end to end to nginx, whose
// certificate the client checks.
class Socks5Road : public c_TrustedAuthorityTest {
protected:
    static void SetUpTestSuite() {
        c_TrustedAuthorityTest::SetUpTestSuite();
        ASSERT_TRUE(s_p_Authority->Issue("127.0.0.5", "IP:127.0.0.5"));
        ASSERT_TRUE(s_p_Stranger->Issue("127.0.0.5", "IP:127.0.0.5"));
    }

    // A GET for /file over TLS to the server through the proxy; everything the owner was offered.
    std::string GetThroughProxy(const c_NginxServer& server, std::uint16_t proxyPort) {
        c_Socks5ConnectionSettings& settings = *m_Session.GetCore()->GetSocks5ConnectionSettings();
        settings.m_UseSocks5 = true;
        settings.m_Host = "127.0.0.1";
        settings.m_Port = proxyPort;
        c_TestBufferedSocketOwner owner;
        c_BufferedSocket2 socket(&owner, "Socks5TLS");
        c_CriticalSectionLock lock;
        EXPECT_TRUE(socket.Connect("127.0.0.5", server.GetPort(), TLS_1_2, lock));
        lock.Unlock();
        if (!n_Platform::PumpUntil([&] { return owner.HasCall("connected") || owner.HasCall("closed"); }) ||
            !owner.HasCall("connected")) {
            return "";
        }
        const std::string request = "GET /file HTTP/1.1\r\nHost: 127.0.0.5\r\nConnection: close\r\n\r\n";
        c_CriticalSectionLock sendLock;
        // A refused certificate may already have closed the connection.
        const bool sent = socket.Send(request.data(), static_cast<std::int64_t>(request.size()), 0, sendLock);
        sendLock.Unlock();
        if (!sent) {
            return Received(owner);
        }
        n_Platform::PumpUntil(
            [&] { return Received(owner).find(CONTENT) != std::string::npos || owner.HasCall("closed"); });
        return Received(owner);
    }
    static std::string Received(const c_TestBufferedSocketOwner& owner) {
        std::string all;
        for (const std::string& name : owner.GetNames()) {
            all += name.compare(0, 5, "data:") == 0 ? name.substr(5) : "";
        }
        return all;
    }

    c_CoreSession m_Session;
};

TEST_F(Socks5Road, TLSReachesTheServerThroughDante) {
    c_NginxServer server("127.0.0.5", s_p_Authority->GetPath("127.0.0.5.crt"), s_p_Authority->GetPath("127.0.0.5.key"));
    WriteTestFile(server.GetFilePath("file"), CONTENT);
    c_DanteProxy proxy;
    ASSERT_NE(server.GetPort(), 0);
    ASSERT_NE(proxy.GetPort(), 0);
    const std::string page = GetThroughProxy(server, proxy.GetPort());
    EXPECT_EQ(page.compare(0, 15, "HTTP/1.1 200 OK"), 0) << page;
    EXPECT_NE(page.find(std::string("\r\n\r\n") + CONTENT), std::string::npos) << page;
    EXPECT_NE(proxy.GetLog().find("127.0.0.5." + std::to_string(server.GetPort())), std::string::npos)
        << proxy.GetLog();
}

TEST_F(Socks5Road, ServerWithAStrangersCertificateIsRefused) {
    c_NginxServer server("127.0.0.5", s_p_Stranger->GetPath("127.0.0.5.crt"), s_p_Stranger->GetPath("127.0.0.5.key"));
    WriteTestFile(server.GetFilePath("file"), CONTENT);
    c_DanteProxy proxy;
    ASSERT_NE(server.GetPort(), 0);
    ASSERT_NE(proxy.GetPort(), 0);
    EXPECT_EQ(GetThroughProxy(server, proxy.GetPort()).find(CONTENT), std::string::npos);
    EXPECT_TRUE(m_Session.HasLineContaining("certificate verify error"));
}

} // namespace
