// ctest-resource-lock: installer_mirror_addresses
// Tests of the local mirror kit through the project's own HTTP client: nginx as the four mirrors (their
// version answers, a list whose MD5s match the files served, a name with a blank) and the web site
// (the log upload answered 200 and kept), and the fault mirror's modes and its record.

#include "installer/testing/c_MirrorKit.h"

#include "network/testing/c_CoreSession.h"
#include "oslayer/threads/c_TimerCore.h"
#include "platform/testing/PumpUntil.h"
#include "protocols/http/c_AsyncHTTP2.h"
#include "protocols/http/testing/c_RecordingHTTPOwner.h"
#include "textutil/c_MD5.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using n_Platform::PumpAndWaitUntil;

// One kit for the suite, trusted by the client contexts of the tests' cores.
template <typename t_Suite> class c_MirrorKitSuite {
public:
    static c_MirrorKit& Kit() { return *s_p_Kit; }
    static void MakeKit() {
        s_p_Kit = new c_MirrorKit;
        ASSERT_TRUE(s_p_Kit->IsReady());
        s_p_Kit->TrustAuthority();
    }
    static void DeleteKit() {
        delete s_p_Kit;
        s_p_Kit = nullptr;
    }

private:
    static inline c_MirrorKit* s_p_Kit = nullptr;
};

// The timer service, a network core and a client for one test.
class c_ClientFixture {
protected:
    c_ClientFixture() { c_TimerCore::Start(); }
    ~c_ClientFixture() {
        m_p_Client.reset();
        c_TimerCore::Stop();
    }

    // The report of a request, or null when it did not end.
    const s_FinishedReport* Fetch(std::int32_t method, const std::string& url, const t_HTTPHeaderMap& headers = {},
                                  const std::string& body = "") {
        c_HTTPRequestParameters parameters;
        parameters.m_Method = method;
        parameters.m_URL = c_String(url.data(), static_cast<int>(url.size()));
        parameters.m_Headers = headers;
        parameters.SetBody(body.data(), static_cast<std::uint32_t>(body.size()));
        const std::int32_t id = m_p_Client->SendRequestAndGetID(parameters);
        PumpAndWaitUntil([&] { return m_Owner.FindReport(id) != nullptr; });
        return m_Owner.FindReport(id);
    }
    const s_FinishedReport* Get(const std::string& url) { return Fetch(1, url); }

    c_CoreSession m_Session;
    c_RecordingHTTPOwner m_Owner;
    std::unique_ptr<c_AsyncHTTP2> m_p_Client = std::make_unique<c_AsyncHTTP2>(&m_Owner);
};

std::string MirrorURL(std::size_t mirror, const std::string& path) {
    return c_MirrorKit::GetURL(c_MirrorKit::MIRROR_ADDRESSES[mirror], path);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

std::string EscapeBlanks(std::string path) {
    for (std::size_t at = path.find(' '); at != std::string::npos; at = path.find(' ', at)) {
        path.replace(at, 1, "%20");
    }
    return path;
}

class MirrorKitNginx : public testing::Test, protected c_ClientFixture, public c_MirrorKitSuite<MirrorKitNginx> {
protected:
    static void SetUpTestSuite() {
        MakeKit();
        ASSERT_TRUE(Kit().StartNginx());
    }
    static void TearDownTestSuite() { DeleteKit(); }
};

TEST_F(MirrorKitNginx, MirrorsAnswerTheVersionsWithTheirOwnFieldFour) {
    for (std::size_t mirror = 0; mirror < c_MirrorKit::MIRROR_ADDRESSES.size(); ++mirror) {
        SCOPED_TRACE(c_MirrorKit::MIRROR_ADDRESSES[mirror]);
        const s_FinishedReport* report =
            Fetch(1, MirrorURL(mirror, "/downloads/VersionNumbers.txt"), {{"Accept-Encoding", "identity"}});
        ASSERT_NE(report, nullptr);
        EXPECT_EQ(report->m_EndState, c_AsyncHTTP2Request::END_COMPLETED);
        EXPECT_EQ(report->m_StatusCode, 200);
        EXPECT_EQ(report->m_Body, std::to_string(c_MirrorKit::CURRENT_VERSION) + "||" +
                                      std::to_string(c_MirrorKit::PRERELEASE_VERSION) + "||0||0||" +
                                      std::to_string(c_MirrorKit::FIELD4[mirror]));
    }
}

TEST_F(MirrorKitNginx, ListedFilesAreServedWithTheirMD5s) {
    const std::string version = "/downloads/" + std::to_string(c_MirrorKit::CURRENT_VERSION) + "/";
    const s_FinishedReport* list = Get(MirrorURL(1, version + "FilesToDownload.txt"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->m_StatusCode, 200);
    ASSERT_EQ(list->m_Body.substr(list->m_Body.size() - 2), "\r\n");
    std::vector<std::string> lines = SplitLines(list->m_Body);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), "Common");
    lines.pop_back();
    bool blankInName = false;
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        const std::size_t equals = line.find('=');
        const std::size_t bar = line.find('|');
        ASSERT_TRUE(equals != std::string::npos && bar != std::string::npos);
        const std::string name = line.substr(0, equals);
        const std::string folder = line.substr(equals + 1, bar - equals - 1);
        blankInName = blankInName || name.find(' ') != std::string::npos;
        const s_FinishedReport* file =
            Get(MirrorURL(1, EscapeBlanks(version + (folder.empty() ? "" : folder + "/") + name)));
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->m_StatusCode, 200);
        EXPECT_EQ(GetMD5OfData(file->m_Body.data(), static_cast<std::int32_t>(file->m_Body.size())).GetChars(),
                  line.substr(bar + 1));
    }
    EXPECT_TRUE(blankInName);
}

TEST_F(MirrorKitNginx, SiteAnswersTheUploadAndKeepsItsBody) {
    const std::string body = "Username=a%26b&MessageText=Log%3A%20%3D%25%C3%A9%0A";
    const s_FinishedReport* report =
        Fetch(2, c_MirrorKit::GetURL(c_MirrorKit::SITE_ADDRESS, c_MirrorKit::UPLOAD_PATH), {}, body);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->m_StatusCode, 200);
    ASSERT_FALSE(Kit().GetUploads().empty());
    EXPECT_EQ(Kit().GetUploads().back(), body);
}

TEST_F(MirrorKitNginx, OtherServicesOfTheSiteAreNotFound) {
    const s_FinishedReport* report =
        Fetch(2, c_MirrorKit::GetURL(c_MirrorKit::SITE_ADDRESS, "/API.php?Service=Other"), {}, "x");
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->m_StatusCode, 404);
}

class FaultMirror : public testing::Test, protected c_ClientFixture, public c_MirrorKitSuite<FaultMirror> {
protected:
    static void SetUpTestSuite() {
        MakeKit();
        ASSERT_TRUE(Kit().StartFaultMirror("{}"));
    }
    static void TearDownTestSuite() { DeleteKit(); }
};

struct s_FaultCase {
    const char* m_Name;
    // The scenario of the path "/case".
    std::string m_Scenario;
    std::int32_t m_EndState;
    std::int32_t m_StatusCode;
    std::string m_Body;
    std::string m_ContentEncoding;
};

const std::string TEXT = "0123456789abcdefghijklmnopqrstuvwxyz";

class FaultMirrorModes : public FaultMirror, public testing::WithParamInterface<s_FaultCase> {};

TEST_P(FaultMirrorModes, AnswerAsTheScenarioSays) {
    const s_FaultCase& fault = GetParam();
    Kit().SetScenarios("{\"/case\": " + fault.m_Scenario + "}");
    const s_FinishedReport* report = Get(MirrorURL(0, "/case"));
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->m_EndState, fault.m_EndState);
    if (fault.m_EndState == c_AsyncHTTP2Request::END_COMPLETED) {
        EXPECT_EQ(report->m_StatusCode, fault.m_StatusCode);
        EXPECT_EQ(report->m_Body, fault.m_Body);
        EXPECT_EQ(report->m_ContentEncoding, fault.m_ContentEncoding);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FaultMirrorModes,
    testing::Values(
        s_FaultCase{"Normal", "{\"body\": \"" + TEXT + "\"}", 2, 200, TEXT, ""},
        s_FaultCase{"Status", "{\"body\": \"gone\", \"status\": 410}", 2, 410, "gone", ""},
        s_FaultCase{"HTMLPage", "{\"mode\": \"html\"}", 2, 200,
                    "<!DOCTYPE html>\n<html><head><title>Not here</title></head><body>Not here</body></html>\n", ""},
        s_FaultCase{"PlainError", "{\"mode\": \"error\", \"status\": 500, \"body\": \"Broken\"}", 2, 500, "Broken", ""},
        s_FaultCase{"Truncated", "{\"mode\": \"truncate\", \"after\": 5, \"body\": \"" + TEXT + "\"}", 3, 0, "", ""},
        s_FaultCase{"Reset", "{\"mode\": \"reset\", \"after\": 5, \"body\": \"" + TEXT + "\"}", 3, 0, "", ""},
        s_FaultCase{"Slow", "{\"mode\": \"slow\", \"piece\": 7, \"interval_ms\": 5, \"body\": \"" + TEXT + "\"}", 2,
                    200, TEXT, ""},
        s_FaultCase{"Gzip", "{\"mode\": \"gzip\", \"body\": \"" + TEXT + "\"}", 2, 200, TEXT, "gzip"},
        s_FaultCase{"Chunked", "{\"mode\": \"chunked\", \"chunk\": 10, \"body\": \"" + TEXT + "\"}", 2, 200, TEXT, ""},
        s_FaultCase{"CloseDelimited", "{\"mode\": \"close\", \"body\": \"" + TEXT + "\"}", 2, 200, TEXT, ""},
        s_FaultCase{"NoScenarioNoPayloadFile", "{}", 2, 404, "Not Found\n", ""}),
    [](const testing::TestParamInfo<s_FaultCase>& info) { return info.param.m_Name; });

TEST_F(FaultMirror, FailsTheFirstRequestsThenServesThePayload) {
    Kit().SetScenarios("{\"/downloads/1650/Read%20Me.txt\": {\"mode\": \"fail_first\", \"count\": 2, "
                       "\"fail_status\": 404}}");
    const std::string url = MirrorURL(0, "/downloads/1650/Read%20Me.txt");
    for (int attempt = 0; attempt < 2; ++attempt) {
        const s_FinishedReport* failed = Get(url);
        ASSERT_NE(failed, nullptr);
        EXPECT_EQ(failed->m_StatusCode, 404);
    }
    const s_FinishedReport* served = Get(url);
    ASSERT_NE(served, nullptr);
    EXPECT_EQ(served->m_StatusCode, 200);
    EXPECT_EQ(served->m_Body, Kit().ReadPayloadFile("downloads/1650/Read Me.txt"));
}

TEST_F(FaultMirror, ScenarioOfOneAddressLeavesTheOthersAlone) {
    Kit().SetScenarios("{\"127.0.0.3/downloads/VersionNumbers.txt\": {\"mode\": \"html\"}}");
    const s_FinishedReport* changed = Get(MirrorURL(1, "/downloads/VersionNumbers.txt"));
    const s_FinishedReport* served = Get(MirrorURL(2, "/downloads/VersionNumbers.txt"));
    ASSERT_TRUE(changed != nullptr && served != nullptr);
    EXPECT_EQ(changed->m_Body.rfind("<!DOCTYPE", 0), 0u);
    EXPECT_EQ(served->m_Body, "1650||1651||0||0||7");
}

TEST_F(FaultMirror, RecordsEveryRequestWithItsAddressHeadersAndBody) {
    Kit().SetScenarios("{}");
    const std::size_t before = Kit().GetRecordedRequests().size();
    ASSERT_NE(Fetch(1, MirrorURL(3, "/downloads/VersionNumbers.txt"), {{"Accept-Encoding", "identity"}}), nullptr);
    const s_FinishedReport* upload = Fetch(2, c_MirrorKit::GetURL(c_MirrorKit::SITE_ADDRESS, c_MirrorKit::UPLOAD_PATH),
                                           {}, "Username=&MessageText=x");
    ASSERT_NE(upload, nullptr);
    EXPECT_EQ(upload->m_StatusCode, 200);
    ASSERT_TRUE(Kit().WaitForRecordedRequests(before + 2));
    const std::vector<s_MirrorRequest> requests = Kit().GetRecordedRequests();
    const s_MirrorRequest& version = requests[before];
    EXPECT_EQ(version.m_Address, "127.0.0.5");
    EXPECT_EQ(version.m_Method, "GET");
    EXPECT_EQ(version.m_Path, "/downloads/VersionNumbers.txt");
    EXPECT_NE(version.m_Head.find("\r\nAccept-Encoding: identity\r\n"), std::string::npos);
    const s_MirrorRequest& post = requests[before + 1];
    EXPECT_EQ(post.m_Address, c_MirrorKit::SITE_ADDRESS);
    EXPECT_EQ(post.m_Method, "POST");
    EXPECT_EQ(post.m_Path, c_MirrorKit::UPLOAD_PATH);
    EXPECT_EQ(post.m_Body, "Username=&MessageText=x");
}

TEST_F(FaultMirror, SilentMirrorRecordsTheRequestAndNeverAnswers) {
    Kit().SetScenarios("{\"/silent\": {\"mode\": \"silent\"}}");
    const std::size_t before = Kit().GetRecordedRequests().size();
    const std::int32_t id = m_p_Client->SendGetRequest(c_String(MirrorURL(0, "/silent").c_str()));
    ASSERT_TRUE(PumpAndWaitUntil([&] { return Kit().GetRecordedRequests().size() > before; }));
    n_Platform::PumpPending();
    EXPECT_EQ(m_Owner.FindReport(id), nullptr);
}

} // namespace
