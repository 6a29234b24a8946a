// Tests of the client's redirects against nginx: 301 and 302 followed within a host and across hosts
// (one redirect notice per step, one finished report per chain), 307 completed as it is, relative
// locations resolved against the request, the follow-up's "Host", credentials left behind, and the
// redirects refused: a loop at the limit, https to http, a 302 to a POST. A 407 without a proxy in use
// completes like any response.

#include "protocols/http/c_AsyncHTTP2.h"

#include "network/testing/c_NginxServer.h"
#include "network/testing/c_TrustedAuthorityTest.h"
#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestFiles.h"
#include "protocols/http/testing/c_HTTPClientFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <set>
#include <string>

namespace {

constexpr const char* ORIGIN = "127.0.0.2";
constexpr const char* TARGET = "127.0.0.3";
constexpr const char* TLS_ORIGIN = "127.0.0.4";
constexpr const char* CONTENT = "the file at the end of the chain";

// The target serves the file, echoes the "Host" and the credentials it was sent.
std::string GetTargetDirectives() {
    return "    location = /host { return 200 $http_host; }\n"
           "    location = /credentials { return 200 \"[$http_authorization][$http_proxy_authorization]\"; }\n";
}

// Every redirect of the origin; target is the target's base URL.
std::string GetOriginDirectives(const std::string& target) {
    return "    absolute_redirect off;\n"
           "    location = /moved { return 301 " +
           target +
           "/file; }\n"
           "    location = /found { return 302 " +
           target +
           "/file; }\n"
           "    location = /temporary { return 307 /file; }\n"
           "    location = /same { return 302 /file; }\n"
           "    location = /host { return 302 " +
           target +
           "/host; }\n"
           "    location = /credentials { return 302 " +
           target +
           "/credentials; }\n"
           "    location = /dir/sub/up { return 302 ../file; }\n"
           "    location = /ask { if ($args = asked) { return 200 $args; } return 302 ?asked; }\n"
           "    location = /loop { return 302 /loop; }\n"
           "    location = /nowhere { return 302; }\n"
           "    location = /moved-method { return 301 /method; }\n"
           "    location = /method { return 200 $request_method; }\n"
           "    location = /challenge { add_header Proxy-Authenticate 'Basic realm=\"p\"' always; return 407; }\n";
}

struct s_RedirectCase {
    const char* m_Name;
    bool m_Secure; // the request goes to the TLS origin
    std::int32_t m_Method;
    const char* m_Path;
    std::int32_t m_EndState;
    std::int32_t m_StatusCode;
    // The final body, with TARGET_PORT for the target's port; null for any.
    const char* m_Body;
    std::string m_StatusText;
    std::size_t m_Redirects;
};

const s_RedirectCase CASES[] = {
    {"MovedAcrossHosts", false, 1, "/moved", 2, 200, CONTENT, "", 1},
    {"FoundAcrossHosts", false, 1, "/found", 2, 200, CONTENT, "", 1},
    {"TemporaryCompletesAsIs", false, 1, "/temporary", 2, 307, nullptr,
     "Request completed with the HTTP response status code 307.", 0},
    {"FoundWithinTheHost", false, 1, "/same", 2, 200, CONTENT, "", 1},
    {"FollowUpNamesItsOwnHost", false, 1, "/host", 2, 200, "127.0.0.3:TARGET_PORT", "", 1},
    {"CredentialsStayBehind", false, 1, "/credentials", 2, 200, "[][]", "", 1},
    {"RelativePathResolvedAgainstTheRequest", false, 1, "/dir/sub/up", 2, 200, "in dir", "", 1},
    {"RelativeQueryResolvedAgainstTheRequest", false, 1, "/ask", 2, 200, "asked", "", 1},
    {"MovedKeepsThePost", false, 2, "/moved-method", 2, 200, "POST", "", 1},
    {"LoopStopsAtTheLimit", false, 1, "/loop", 3, 302, nullptr, "Too many redirects.", 10},
    {"FoundWithoutLocationFails", false, 1, "/nowhere", 3, 302, nullptr,
     "Unable to follow a redirect response because no location was given in the response.", 0},
    {"FoundToAPostIsRefused", false, 2, "/found", 3, 302, nullptr,
     "Unable to follow a redirect response because the original request method was not GET.", 0},
    {"HTTPSToHTTPIsRefused", true, 1, "/found", 3, 302, nullptr,
     "Unable to follow a redirect response because it leads from an HTTPS URL to an HTTP URL.", 0},
    {"ChallengeWithoutProxyCompletes", false, 1, "/challenge", 2, 407, nullptr,
     "Request completed with the HTTP response status code 407.", 0},
};

// A plain origin and a TLS origin redirecting to a plain target, for the suite.
class AsyncHTTP2Redirects : public c_TrustedAuthorityTest, protected c_HTTPClientFixture {
protected:
    static void SetUpTestSuite() {
        c_TrustedAuthorityTest::SetUpTestSuite();
        ASSERT_TRUE(s_p_Authority->Issue(TLS_ORIGIN, std::string("IP:") + TLS_ORIGIN));
        s_p_Target =
            std::make_unique<c_NginxServer>(TARGET, c_NginxServer::s_PlainDirectives{"", GetTargetDirectives()});
        WriteTestFile(s_p_Target->GetFilePath("file"), CONTENT);
        const std::string target = "http://" + std::string(TARGET) + ":" + std::to_string(s_p_Target->GetPort());
        s_p_Origin =
            std::make_unique<c_NginxServer>(ORIGIN, c_NginxServer::s_PlainDirectives{"", GetOriginDirectives(target)});
        WriteTestFile(s_p_Origin->GetFilePath("file"), CONTENT);
        std::filesystem::create_directories(s_p_Origin->GetFilePath("dir"));
        WriteTestFile(s_p_Origin->GetFilePath("dir/file"), "in dir");
        s_p_TLSOrigin = std::make_unique<c_NginxServer>(
            TLS_ORIGIN, s_p_Authority->GetPath(std::string(TLS_ORIGIN) + ".crt"),
            s_p_Authority->GetPath(std::string(TLS_ORIGIN) + ".key"), "", GetOriginDirectives(target));
    }
    static void TearDownTestSuite() {
        s_p_TLSOrigin.reset();
        s_p_Origin.reset();
        s_p_Target.reset();
        c_TrustedAuthorityTest::TearDownTestSuite();
    }
    void SetUp() override {
        ASSERT_NE(s_p_Target->GetPort(), 0);
        ASSERT_NE(s_p_Origin->GetPort(), 0);
        ASSERT_NE(s_p_TLSOrigin->GetPort(), 0);
    }

    static std::string GetURL(bool secure, const std::string& path) {
        const c_NginxServer& server = secure ? *s_p_TLSOrigin : *s_p_Origin;
        return std::string(secure ? "https://" : "http://") + server.GetAddress() + ":" +
               std::to_string(server.GetPort()) + path;
    }
    static std::string GetExpectedBody(const char* body) {
        std::string expected = body;
        const std::size_t port = expected.find("TARGET_PORT");
        return port == std::string::npos ? expected : expected.replace(port, 11, std::to_string(s_p_Target->GetPort()));
    }

    static inline std::unique_ptr<c_NginxServer> s_p_Target;
    static inline std::unique_ptr<c_NginxServer> s_p_Origin;
    static inline std::unique_ptr<c_NginxServer> s_p_TLSOrigin;
};

TEST_F(AsyncHTTP2Redirects, ChainsEndOnceWithTheirFinalRequest) {
    for (const s_RedirectCase& row : CASES) {
        SCOPED_TRACE(row.m_Name);
        m_Owner.m_Redirects.clear();
        // Every request carries credentials that its follow-ups must leave behind.
        const std::int32_t id = Send(row.m_Method, GetURL(row.m_Secure, row.m_Path),
                                     {{"Authorization", "Basic eA=="}, {"Proxy-Authorization", "Basic eQ=="}}, "a=1");
        ASSERT_NE(id, 0);
        ASSERT_TRUE(WaitForChainReport(id));
        const s_FinishedReport& report = ChainReport(id);
        EXPECT_EQ(report.m_EndState, row.m_EndState);
        EXPECT_EQ(report.m_StatusCode, row.m_StatusCode);
        EXPECT_EQ(report.m_StatusText, row.m_StatusText.empty()
                                           ? "Request completed with the HTTP response status code 200."
                                           : row.m_StatusText);
        if (row.m_Body != nullptr) {
            EXPECT_EQ(report.m_Body, GetExpectedBody(row.m_Body));
        }
        // Each step is announced with the request it replaced and the one sent in its place.
        ASSERT_EQ(m_Owner.m_Redirects.size(), row.m_Redirects);
        std::int32_t current = id;
        for (const auto& [old, next] : m_Owner.m_Redirects) {
            EXPECT_EQ(old, current);
            current = next;
        }
        EXPECT_EQ(report.m_FinalID, current);
    }
    // One report per chain, never one for a replaced request.
    std::set<std::int32_t> firsts;
    for (const s_FinishedReport& report : m_Owner.m_Reports) {
        EXPECT_TRUE(firsts.insert(report.m_FirstID).second) << report.m_FirstID;
    }
    EXPECT_EQ(m_Owner.m_Reports.size(), std::size(CASES));
}

TEST_F(AsyncHTTP2Redirects, FollowUpOfAnOwnerThatIsNotToldIsNotAnnounced) {
    const std::int32_t id = Send(1, GetURL(false, "/found"));
    ASSERT_NE(id, 0);
    m_p_Client->FindRequest(id)->DisableOwnerNotification();
    ASSERT_TRUE(n_Platform::PumpAndWaitUntil([&] { return m_p_Client->FindRequest(id) == nullptr; }));
    EXPECT_TRUE(m_Owner.m_Redirects.empty());
    EXPECT_TRUE(m_Owner.m_Reports.empty());
}

} // namespace
