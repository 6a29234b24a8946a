// Tests of the HTTP client against the crafted python3 server of tests/peers: the request on the
// wire, the unsafe texts refused at dispatch, the end paths (completed, failed, canceled, timed out)
// with their texts, truncated bodies, the queue of a host's sixth request, and owners that throw,
// pump or send from inside their callbacks. Time-outs run on the test clock.

#include "protocols/http/c_AsyncHTTP2.h"

#include "network/testing/c_CoreSession.h"
#include "network/testing/c_NginxServer.h"
#include "network/testing/c_TrustedAuthorityTest.h"
#include "oslayer/threads/c_TimerCore.h"
#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestClock.h"
#include "protocols/http/testing/c_CraftedHTTPServer.h"
#include "protocols/http/testing/c_HTTPClientFixture.h"
#include "textutil/c_MD5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using n_Platform::PumpAndWaitUntil;
using n_Platform::PumpUntil;

constexpr const char* ADDRESS = "127.0.0.21";
constexpr const char* TLS_ADDRESS = "127.0.0.22";
constexpr const char* USER_AGENT =
    "User-Agent: Mozilla/5.0 (Windows NT 6.1; WOW64; rv:49.0) Gecko/20100101 Firefox/49.0";
constexpr const char* ACCEPT = "Accept: text/xml,application/xml,application/xhtml+xml,text/html,text/plain,*/*";
const std::string CLOSED_EARLY = "The connection was closed before a valid response was received.";
const std::string CUT_SHORT = "The connection was closed before the whole response body was received.";

// One crafted server for the suite.
class AsyncHTTP2 : public testing::Test, protected c_HTTPClientFixture {
protected:
    static void SetUpTestSuite() { s_p_Server = new c_CraftedHTTPServer(ADDRESS); }
    static void TearDownTestSuite() {
        delete s_p_Server;
        s_p_Server = nullptr;
    }
    void SetUp() override { ASSERT_NE(s_p_Server->GetPort(), 0); }

    static std::string URL(const std::string& path) { return s_p_Server->GetURL(path); }
    static std::string HostLine() {
        return "Host: " + std::string(ADDRESS) + ":" + std::to_string(s_p_Server->GetPort());
    }
    std::size_t CountRequests() const { return s_p_Server->GetRequests().size(); }
    // The raw request that the server recorded after the given number of earlier ones.
    std::string NextRawRequest(std::size_t before) const {
        if (!PumpAndWaitUntil([&] { return CountRequests() > before; })) {
            return "";
        }
        return s_p_Server->GetRequests()[before];
    }

    static inline c_CraftedHTTPServer* s_p_Server = nullptr;
};

struct s_WireCase {
    const char* m_Name;
    std::int32_t m_Method;
    // Appended to the server's base URL.
    std::string m_Path;
    t_HTTPHeaderMap m_Headers;
    std::string m_Body;
    // With "HOST" standing for the Host line.
    std::vector<std::string> m_Lines;
};

const std::vector<s_WireCase>& WireCases() {
    static const std::vector<s_WireCase> cases = {
        {"DirectGetInHeaderOrderWithoutConnection",
         1,
         "/ok?a=1",
         {},
         "",
         {"GET /ok?a=1 HTTP/1.1", ACCEPT, "Accept-Encoding: gzip, deflate", "HOST", USER_AGENT}},
        {"EmptyPathIsSlash",
         1,
         "",
         {{"Accept-Encoding", "identity"}},
         "",
         {"GET / HTTP/1.1", ACCEPT, "Accept-Encoding: identity", "HOST", USER_AGENT}},
        {"PostCarriesBodyTypeAndLength",
         2,
         "/ok",
         {},
         "a=1&b=2",
         {"POST /ok HTTP/1.1", ACCEPT, "Accept-Encoding: gzip, deflate", "Content-Length: 7",
          "Content-Type: application/x-www-form-urlencoded", "HOST", USER_AGENT, "", "a=1&b=2"}},
        {"PutWithEmptyBodyHasLengthZeroAndNoType",
         3,
         "/ok",
         {},
         "",
         {"PUT /ok HTTP/1.1", ACCEPT, "Accept-Encoding: gzip, deflate", "Content-Length: 0", "HOST", USER_AGENT}},
        {"DeleteCarriesItsBody",
         4,
         "/ok",
         {{"X-Mark", "1"}},
         "gone",
         {"DELETE /ok HTTP/1.1", ACCEPT, "Accept-Encoding: gzip, deflate", "Content-Length: 4", "HOST", USER_AGENT,
          "X-Mark: 1", "", "gone"}},
        {"OwnHostFieldIsKept",
         1,
         "/ok",
         {{"host", "virtual.example"}},
         "",
         {"GET /ok HTTP/1.1", ACCEPT, "Accept-Encoding: gzip, deflate", "host: virtual.example", USER_AGENT}},
    };
    return cases;
}

std::string JoinLines(const std::vector<std::string>& lines, const std::string& hostLine) {
    std::string joined;
    std::size_t index = 0;
    for (; index < lines.size() && !lines[index].empty(); ++index) {
        joined += (lines[index] == "HOST" ? hostLine : lines[index]) + "\r\n";
    }
    joined += "\r\n";
    return index + 1 < lines.size() ? joined + lines[index + 1] : joined;
}

TEST_F(AsyncHTTP2, RequestsGoOnTheWireExactly) {
    for (const s_WireCase& row : WireCases()) {
        SCOPED_TRACE(row.m_Name);
        const std::size_t before = CountRequests();
        const std::int32_t id = Send(row.m_Method, URL(row.m_Path), row.m_Headers, row.m_Body);
        ASSERT_NE(id, 0);
        EXPECT_EQ(NextRawRequest(before), JoinLines(row.m_Lines, HostLine()));
        ASSERT_TRUE(WaitForReport(id));
        EXPECT_EQ(Report(id).m_EndState, 2);
        EXPECT_EQ(Report(id).m_StatusText, "Request completed with the HTTP response status code 200.");
        EXPECT_EQ(Report(id).m_Body, "hello");
    }
}

// Nothing needs to listen: the fields are added at dispatch.
TEST_F(AsyncHTTP2, HostFieldNamesThePortOnlyWhenItIsNotTheSchemesDefault) {
    const struct {
        const char* m_URL;
        const char* m_Host;
    } rows[] = {
        {"http://127.0.0.29/x", "127.0.0.29"},
        {"http://127.0.0.29:80/x", "127.0.0.29"},
        {"https://127.0.0.30:443/x", "127.0.0.30"},
        {"http://127.0.0.31:443/x", "127.0.0.31:443"},
        {"https://127.0.0.32:8443/x", "127.0.0.32:8443"},
    };
    for (const auto& row : rows) {
        const std::int32_t id = Send(1, row.m_URL);
        ASSERT_NE(id, 0) << row.m_URL;
        const auto& headers = m_p_Client->FindRequest(id)->GetRequestParameters().m_Headers;
        EXPECT_STREQ(headers.at("Host").GetChars(), row.m_Host) << row.m_URL;
    }
}

TEST_F(AsyncHTTP2, UnknownMethodIsNotSentAndFailsWhenTheConnectionCloses) {
    const std::int32_t id = Send(0, URL("/ok"));
    ASSERT_NE(id, 0);
    ASSERT_TRUE(
        PumpUntil([&] { return StatusText(id) == "Failed to send the request because the method was unknown."; }));
    ASSERT_TRUE(WaitForReport(id));
    EXPECT_EQ(Report(id).m_EndState, 3);
    EXPECT_EQ(Report(id).m_StatusText, CLOSED_EARLY);
}

TEST_F(AsyncHTTP2, UnsafeTextsFailTheDispatchAndUseUpTheirIds) {
    const struct {
        const char* m_Name;
        std::string m_Path;
        t_HTTPHeaderMap m_Headers;
    } rows[] = {
        {"LineBreakInURL", "/ok\r\nX-Evil: 1", {}},
        {"BlankInURL", "/ok HTTP/1.1", {}},
        {"LineBreakInValue", "/ok", {{"X-Name", "a\r\nX-Evil: 1"}}},
        {"LineFeedInValue", "/ok", {{"X-Name", "a\nb"}}},
        {"ControlByteInValue", "/ok", {{"X-Name", "a\x01"}}},
        {"ColonInName", "/ok", {{"X-Evil: 1\r\nX", "b"}}},
        {"BlankInName", "/ok", {{"X Name", "b"}}},
    };
    const std::int32_t first = Send(1, URL("/silent"));
    ASSERT_EQ(first, 1);
    std::int32_t expected = first;
    for (const auto& row : rows) {
        ++expected;
        EXPECT_EQ(Send(1, URL(row.m_Path), row.m_Headers), 0) << row.m_Name;
        EXPECT_EQ(m_p_Client->FindRequest(expected), nullptr) << row.m_Name;
    }
    EXPECT_EQ(Send(1, URL("/silent")), expected + 1) << "ids go on past failed dispatches";
    ASSERT_TRUE(PumpAndWaitUntil([&] { return CountRequests() >= 2; }));
    for (const std::string& raw : s_p_Server->GetRequests()) {
        EXPECT_EQ(raw.find("Evil"), std::string::npos);
    }
    EXPECT_TRUE(m_Owner.m_Reports.empty()) << "a failed dispatch reports nothing";
}

struct s_EndCase {
    const char* m_Path;
    std::int32_t m_EndState;
    std::string m_StatusText;
    std::string m_Body;
};

TEST_F(AsyncHTTP2, ResponsesEndByTheirFraming) {
    const s_EndCase rows[] = {
        {"/bytes", 2, "Request completed with the HTTP response status code 200.", "hello"},
        {"/two", 2, "Request completed with the HTTP response status code 200.", "hello"},
        {"/close-body", 2, "Request completed with the HTTP response status code 200.", "until the close"},
        {"/gzip", 2, "Request completed with the HTTP response status code 200.", ""},
        {"/short-length", 3, CUT_SHORT, "hello"},
        {"/short-chunked", 3, CUT_SHORT, "hello"},
        {"/short-gzip", 3, CUT_SHORT, ""},
    };
    for (const s_EndCase& row : rows) {
        SCOPED_TRACE(row.m_Path);
        const std::int32_t id = Send(1, URL(row.m_Path));
        ASSERT_TRUE(WaitForReport(id));
        EXPECT_EQ(Report(id).m_EndState, row.m_EndState);
        EXPECT_EQ(Report(id).m_StatusText, row.m_StatusText);
        if (!row.m_Body.empty()) {
            EXPECT_EQ(Report(id).m_Body, row.m_Body);
        }
    }
    const std::int32_t gzip = Send(1, URL("/gzip"));
    ASSERT_TRUE(WaitForReport(gzip));
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        expected += "compressed ";
    }
    EXPECT_EQ(Report(gzip).m_Body, expected);
}

TEST_F(AsyncHTTP2, ResetInTheBodyFails) {
    const std::int32_t id = Send(1, URL("/reset"));
    ASSERT_TRUE(WaitForReport(id));
    EXPECT_EQ(Report(id).m_EndState, 3);
    EXPECT_TRUE(Report(id).m_StatusText == CUT_SHORT || Report(id).m_StatusText == CLOSED_EARLY)
        << Report(id).m_StatusText;
}

TEST_F(AsyncHTTP2, CancelInTheBodyIsReportedOnceAndClosesTheConnection) {
    std::int32_t id = 0;
    m_Owner.m_OnActivity = [&](c_AsyncHTTP2Request* request) {
        if (request->GetResponse().HasStarted()) {
            m_p_Client->CancelRequest(request->GetID(), true);
        }
    };
    id = Send(1, URL("/header-only"));
    ASSERT_TRUE(WaitForReport(id));
    EXPECT_EQ(Report(id).m_EndState, 1);
    EXPECT_EQ(Report(id).m_StatusText, "Request was canceled.");
    EXPECT_EQ(m_p_Client->FindRequest(id), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return IsConnectionGone(1); }));
    EXPECT_EQ(m_Owner.CountReports(id), 1U);
}

TEST_F(AsyncHTTP2, CancelAllTellsTheOwnerOnlyWhenAsked) {
    for (const bool notify : {false, true}) {
        SCOPED_TRACE(notify);
        m_Owner.m_Reports.clear();
        const std::size_t before = CountRequests();
        std::vector<std::int32_t> ids;
        for (int i = 0; i < 3; ++i) {
            ids.push_back(Send(1, URL("/silent")));
        }
        ASSERT_TRUE(PumpAndWaitUntil([&] { return CountRequests() >= before + 3; }));
        m_p_Client->CancelAllRequests(notify);
        for (const std::int32_t id : ids) {
            EXPECT_EQ(m_p_Client->FindRequest(id), nullptr);
            EXPECT_EQ(m_Owner.CountReports(id), notify ? 1U : 0U);
            if (notify) {
                EXPECT_EQ(Report(id).m_EndState, 1);
            }
        }
    }
}

TEST_F(AsyncHTTP2, SendRequestInsideAFinishedReportDuringCancelAllIsRefused) {
    std::vector<std::int32_t> sentInside;
    m_Owner.m_OnFinished = [&](c_AsyncHTTP2Request*) { sentInside.push_back(Send(1, URL("/ok"))); };
    Send(1, URL("/silent"));
    Send(1, URL("/silent"));
    m_p_Client->CancelAllRequests(true);
    EXPECT_EQ(sentInside, (std::vector<std::int32_t>{0, 0}));
    m_Owner.m_OnFinished = nullptr;
    const std::int32_t after = Send(1, URL("/ok"));
    EXPECT_EQ(after, 3) << "the refused sends took no ids";
    ASSERT_TRUE(WaitForReport(after));
    EXPECT_EQ(Report(after).m_EndState, 2);
}

TEST_F(AsyncHTTP2, OwnerExceptionsAreLoggedAndTheClientGoesOn) {
    m_Owner.m_OnActivity = [](c_AsyncHTTP2Request*) { throw std::runtime_error("activity"); };
    m_Owner.m_OnFinished = [](c_AsyncHTTP2Request*) { throw 7; };
    const std::int32_t first = Send(1, URL("/ok"));
    ASSERT_TRUE(WaitForReport(first));
    EXPECT_EQ(Report(first).m_EndState, 2) << "processing went on after the activity slot threw";
    EXPECT_TRUE(
        m_Session.HasLine("Async HTTP caught an unhandled exception from the owner OnAsyncHTTP2RequestActivity."));
    EXPECT_TRUE(
        m_Session.HasLine("Async HTTP caught an unhandled exception from the owner OnAsyncHTTP2RequestFinished."));
    const std::int32_t second = Send(1, URL("/ok"));
    ASSERT_TRUE(WaitForReport(second));
    EXPECT_EQ(Report(second).m_EndState, 2);
}

// The owner runs a message loop inside its report: the destroy timer fires meanwhile, yet the first
// request, finished and waiting to be destroyed, stays whole until the call returns.
TEST_F(AsyncHTTP2, ObjectsLiveThroughAnOwnerThatPumpsInsideItsReport) {
    const std::int32_t outer = Send(1, URL("/ok"));
    std::int32_t inner = 0;
    std::string outerTextAfterPump;
    m_Owner.m_OnFinished = [&](c_AsyncHTTP2Request* request) {
        if (request->GetID() != outer) {
            return;
        }
        inner = Send(1, URL("/ok"));
        EXPECT_TRUE(WaitForReport(inner));
        // Two destroy-timer periods pass on the real clock while the inner request closes.
        EXPECT_TRUE(PumpUntil([&] { return IsConnectionGone(2); }));
        outerTextAfterPump = request->GetStatusText().GetChars();
        EXPECT_EQ(request->GetResponse().GetStatusCode(), 200);
    };
    ASSERT_TRUE(WaitForReport(outer));
    EXPECT_EQ(outerTextAfterPump, "Request completed with the HTTP response status code 200.");
}

TEST_F(AsyncHTTP2, TheSixthRequestToAHostIsQueuedUntilOneOfTheFiveCloses) {
    const std::size_t before = CountRequests();
    std::vector<std::int32_t> ids;
    for (int i = 0; i < 6; ++i) {
        ids.push_back(Send(1, URL("/silent")));
    }
    ASSERT_TRUE(PumpAndWaitUntil([&] { return CountRequests() >= before + 5; }));
    EXPECT_EQ(StatusText(ids[5]), "Request is queued.");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(StatusText(ids[i]), "Request has been sent.");
    }
    m_p_Client->CancelRequest(ids[0], true);
    ASSERT_TRUE(PumpAndWaitUntil([&] { return StatusText(ids[5]) == "Request has been sent."; }));
    EXPECT_TRUE(PumpAndWaitUntil([&] { return CountRequests() == before + 6; }));
}

// The client is made before any network core exists, so its first connections cannot start.
TEST(AsyncHTTP2WithoutCore, FailedStartsDoNotHoldTheirHostsSlots) {
    c_TimerCore::Start();
    c_CraftedHTTPServer server(ADDRESS);
    ASSERT_NE(server.GetPort(), 0);
    c_RecordingHTTPOwner owner;
    auto client = std::make_unique<c_AsyncHTTP2>(&owner);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(client->SendGetRequest(server.GetURL("/ok").c_str()), 0);
    }
    {
        c_CoreSession session;
        const std::int32_t id = client->SendGetRequest(server.GetURL("/ok").c_str());
        ASSERT_EQ(id, 6);
        ASSERT_TRUE(PumpAndWaitUntil([&] { return owner.FindReport(id) != nullptr; }));
        EXPECT_EQ(owner.FindReport(id)->m_EndState, 2);
        client.reset();
    }
    c_TimerCore::Stop();
}

// Time-outs on the test clock, which the clock base makes before the rest.
struct s_ClockFirst {
    n_Platform::c_TestClock m_Clock;
};

class AsyncHTTP2Timing : public testing::Test, private s_ClockFirst, protected c_HTTPClientFixture {
protected:
    static void SetUpTestSuite() { s_p_Server = new c_CraftedHTTPServer(ADDRESS); }
    static void TearDownTestSuite() {
        delete s_p_Server;
        s_p_Server = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(s_p_Server->GetPort(), 0);
        m_p_Client->SetInactivityMilliseconds(INACTIVITY_MS);
    }
    // The core's shutdown waits on this clock for sockets still closing, so it runs while the clock
    // moves on another thread.
    void TearDown() override {
        EXPECT_TRUE(n_Platform::WaitUntil([&] { return Advance(100) && AreConnectionsGone(); }));
        m_p_Client.reset();
        std::atomic<bool> stopped{false};
        std::thread ticker([&] {
            while (!stopped.load()) {
                n_Platform::AdvanceClock(100);
                std::this_thread::yield();
            }
        });
        m_Session.Stop();
        stopped.store(true);
        ticker.join();
    }

    static constexpr std::uint32_t INACTIVITY_MS = 1000;

    bool AreConnectionsGone() const {
        for (std::int32_t id = 1; id < 10; ++id) {
            if (!IsConnectionGone(id)) {
                return false;
            }
        }
        return true;
    }
    std::int32_t SendAndWaitUntilSent(const std::string& path) {
        const std::size_t before = s_p_Server->GetRequests().size();
        const std::int32_t id = Send(1, s_p_Server->GetURL(path));
        EXPECT_TRUE(PumpAndWaitUntil([&] { return s_p_Server->GetRequests().size() > before; }));
        return id;
    }
    bool Advance(std::uint64_t milliseconds) {
        return m_Clock.AdvanceInSteps(milliseconds, c_TimerNew::MINIMUM_INTERVAL_MS, n_Platform::PumpPending);
    }

    static inline c_CraftedHTTPServer* s_p_Server = nullptr;
};

TEST_F(AsyncHTTP2Timing, RequestTimeOutsRunFromTheConnection) {
    for (const std::int32_t timeout : {200, 0}) {
        SCOPED_TRACE(timeout);
        m_p_Client->SetRequestTimeout(timeout);
        const std::int32_t id = SendAndWaitUntilSent("/silent");
        if (timeout > 10) {
            ASSERT_TRUE(Advance(timeout - 10));
            EXPECT_EQ(m_Owner.FindReport(id), nullptr) << "not yet";
        }
        ASSERT_TRUE(Advance(10));
        ASSERT_NE(m_Owner.FindReport(id), nullptr);
        EXPECT_EQ(Report(id).m_EndState, 4);
        EXPECT_EQ(Report(id).m_StatusText, "Request timed out.");
    }
}

TEST_F(AsyncHTTP2Timing, SilenceClosesTheConnectionAfterTheInactivityInterval) {
    const struct {
        const char* m_Path;
        std::string m_StatusText;
    } rows[] = {{"/silent", CLOSED_EARLY}, {"/header-only", CUT_SHORT}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_Path);
        const std::int32_t id = SendAndWaitUntilSent(row.m_Path);
        ASSERT_TRUE(PumpAndWaitUntil([&] {
            return row.m_StatusText == CLOSED_EARLY || m_p_Client->FindRequest(id)->GetResponse().HasStarted();
        }));
        ASSERT_TRUE(Advance(INACTIVITY_MS - 10));
        EXPECT_EQ(m_Owner.FindReport(id), nullptr) << "still within the interval";
        ASSERT_TRUE(Advance(10 + c_AsyncHTTP2::c_Connection::DELAYED_CLOSE_MILLISECONDS));
        ASSERT_TRUE(PumpUntil([&] { return m_Owner.FindReport(id) != nullptr; }));
        EXPECT_EQ(Report(id).m_EndState, 3);
        EXPECT_EQ(Report(id).m_StatusText, row.m_StatusText);
    }
}

// Over TLS, trusting the suite's own authority; a certificate for another address or from a stranger
// fails the request, with the verification error in the log.
class AsyncHTTP2TLS : public c_TrustedAuthorityTest, protected c_HTTPClientFixture {};

TEST_F(AsyncHTTP2TLS, RequestsCompleteOnlyAgainstAVerifiedCertificate) {
    ASSERT_TRUE(s_p_Authority->Issue("right", std::string("IP:") + TLS_ADDRESS));
    ASSERT_TRUE(s_p_Authority->Issue("wrong", "IP:127.0.0.99"));
    ASSERT_TRUE(s_p_Stranger->Issue("stranger", std::string("IP:") + TLS_ADDRESS));
    const struct {
        const char* m_Name;
        const c_TestAuthority* m_Authority;
        std::int32_t m_EndState;
    } rows[] = {{"right", s_p_Authority, 2}, {"wrong", s_p_Authority, 3}, {"stranger", s_p_Stranger, 3}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.m_Name);
        c_CraftedHTTPServer server(TLS_ADDRESS, row.m_Authority->GetPath(std::string(row.m_Name) + ".crt"),
                                   row.m_Authority->GetPath(std::string(row.m_Name) + ".key"));
        ASSERT_NE(server.GetPort(), 0);
        const std::int32_t id = Send(1, server.GetURL("/ok"));
        ASSERT_TRUE(WaitForReport(id));
        EXPECT_EQ(Report(id).m_EndState, row.m_EndState);
        if (row.m_EndState == 2) {
            EXPECT_EQ(Report(id).m_Body, "hello");
        } else {
            EXPECT_TRUE(m_Session.HasLineContaining("certificate verify error: "));
        }
    }
}

// nginx over TLS 1.2 with the suite's authority: whole files of every size, gzip decoded on the way,
// and the limit of five connections as the server sees it.
class AsyncHTTP2Nginx : public c_TrustedAuthorityTest, protected c_HTTPClientFixture {
protected:
    static constexpr const char* NGINX_ADDRESS = "127.0.0.23";

    static void SetUpTestSuite() {
        c_TrustedAuthorityTest::SetUpTestSuite();
        ASSERT_TRUE(s_p_Authority->Issue("nginx", std::string("IP:") + NGINX_ADDRESS));
        s_p_Nginx = new c_NginxServer(
            NGINX_ADDRESS, s_p_Authority->GetPath("nginx.crt"), s_p_Authority->GetPath("nginx.key"),
            "  log_format timing '$msec $request_time $uri';\n",
            "    access_log timing.log timing;\n    location /gz/ { gzip on; gzip_types *; gzip_min_length 1; }\n"
            "    location /slow/ { limit_rate 16k; }\n");
        std::filesystem::create_directories(s_p_Nginx->GetFilePath("gz"));
        std::filesystem::create_directories(s_p_Nginx->GetFilePath("slow"));
        std::string text;
        for (int line = 0; line < 5000; ++line) {
            text += "line " + std::to_string(line) + " of a text that compresses well\n";
        }
        WriteFile("gz/text.txt", text);
        WriteFile("slow/file.bin", MakeBytes(32768));
    }
    static void TearDownTestSuite() {
        delete s_p_Nginx;
        s_p_Nginx = nullptr;
        c_TrustedAuthorityTest::TearDownTestSuite();
    }
    void SetUp() override { ASSERT_NE(s_p_Nginx->GetPort(), 0); }

    static std::string MakeBytes(std::size_t size) {
        std::string bytes(size, '\0');
        std::uint32_t state = 12345;
        for (char& byte : bytes) {
            state = state * 1103515245 + 12345;
            byte = static_cast<char>(state >> 16);
        }
        return bytes;
    }
    static void WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(s_p_Nginx->GetFilePath(name), std::ios::binary) << bytes;
    }
    static std::string MD5(const std::string& bytes) {
        return GetMD5OfData(bytes.data(), static_cast<std::int32_t>(bytes.size())).GetChars();
    }
    static std::string URL(const std::string& path) {
        return "https://" + std::string(NGINX_ADDRESS) + ":" + std::to_string(s_p_Nginx->GetPort()) + path;
    }
    // The most requests for the path that the server's log shows in progress at one time.
    static int CountMostAtOnce(const std::string& path) {
        std::ifstream log(s_p_Nginx->GetFolder() + "/timing.log");
        std::vector<std::pair<double, int>> edges;
        double end = 0;
        double duration = 0;
        std::string uri;
        while (log >> end >> duration >> uri) {
            if (uri == path) {
                edges.emplace_back(end - duration, 1);
                edges.emplace_back(end, -1);
            }
        }
        std::sort(edges.begin(), edges.end());
        int now = 0;
        int most = 0;
        for (const auto& edge : edges) {
            now += edge.second;
            most = std::max(most, now);
        }
        return most;
    }

    static inline c_NginxServer* s_p_Nginx = nullptr;
};

TEST_F(AsyncHTTP2Nginx, FilesOfEverySizeArriveWhole) {
    for (const std::size_t size : {0UL, 1UL, 65535UL, 65536UL, 65537UL, 8UL << 20}) {
        SCOPED_TRACE(size);
        const std::string name = "size" + std::to_string(size);
        const std::string bytes = MakeBytes(size);
        WriteFile(name, bytes);
        const std::int32_t id = m_p_Client->SendGetRequest(URL("/" + name).c_str());
        ASSERT_TRUE(WaitForReport(id));
        EXPECT_EQ(Report(id).m_EndState, 2);
        EXPECT_EQ(Report(id).m_StatusCode, 200);
        EXPECT_EQ(MD5(Report(id).m_Body), MD5(bytes));
    }
}

TEST_F(AsyncHTTP2Nginx, GzipIsDecodedAndIdentityAsksForNone) {
    std::ifstream file(s_p_Nginx->GetFilePath("gz/text.txt"), std::ios::binary);
    std::ostringstream source;
    source << file.rdbuf();
    const struct {
        const char* m_AcceptEncoding;
        const char* m_ContentEncoding;
    } rows[] = {{nullptr, "gzip"}, {"identity", ""}};
    for (const auto& row : rows) {
        t_HTTPHeaderMap headers;
        if (row.m_AcceptEncoding != nullptr) {
            headers["Accept-Encoding"] = row.m_AcceptEncoding;
        }
        const std::int32_t id = Send(1, URL("/gz/text.txt"), headers);
        ASSERT_TRUE(WaitForReport(id));
        EXPECT_EQ(Report(id).m_EndState, 2);
        EXPECT_EQ(Report(id).m_ContentEncoding, row.m_ContentEncoding);
        EXPECT_EQ(MD5(Report(id).m_Body), MD5(source.str()));
    }
}

TEST_F(AsyncHTTP2Nginx, AtMostFiveConnectionsReachTheServerAtOnce) {
    std::vector<std::int32_t> ids;
    for (int i = 0; i < 12; ++i) {
        ids.push_back(m_p_Client->SendGetRequest(URL("/slow/file.bin").c_str()));
    }
    for (int i = 5; i < 12; ++i) {
        EXPECT_EQ(StatusText(ids[i]), "Request is queued.");
    }
    for (const std::int32_t id : ids) {
        ASSERT_TRUE(WaitForReport(id));
        EXPECT_EQ(Report(id).m_EndState, 2);
        EXPECT_EQ(Report(id).m_Body.size(), 32768U);
    }
    // nginx writes its log line as each request ends.
    ASSERT_TRUE(n_Platform::WaitUntil([&] {
        std::ifstream log(s_p_Nginx->GetFolder() + "/timing.log");
        return std::count(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>(), '\n') >= 12;
    }));
    const int most = CountMostAtOnce("/slow/file.bin");
    EXPECT_LE(most, 5);
    EXPECT_GE(most, 2) << "the requests did run side by side";
}

} // namespace
