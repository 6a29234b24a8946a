// Tests of where a redirect may lead: resolution, the loop limit, the schemes and the downgrade.

#include "protocols/http/RedirectTarget.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* TOO_MANY = "Too many redirects.";
constexpr const char* NOT_HTTP =
    "Unable to follow a redirect response because the location is not a valid HTTP or HTTPS URL.";
constexpr const char* DOWNGRADE =
    "Unable to follow a redirect response because it leads from an HTTPS URL to an HTTP URL.";

struct s_RedirectCase {
    const char* m_Name;
    const char* m_RequestURL;
    const char* m_Location;
    std::int32_t m_RedirectCount;
    const char* m_Target; // empty when refused
    const char* m_Error;
};

const s_RedirectCase REDIRECT_CASES[] = {
    {"AbsoluteOtherHost", "http://127.0.0.2:8080/a", "http://127.0.0.3:8080/b", 0, "http://127.0.0.3:8080/b", ""},
    {"RootRelative", "http://127.0.0.2:8080/a/b?x", "/c", 0, "http://127.0.0.2:8080/c", ""},
    {"DotDot", "https://h:8443/a/b/c", "../x", 0, "https://h:8443/a/x", ""},
    {"QueryOnly", "http://h/a/b?x", "?q", 0, "http://h/a/b?q", ""},
    {"SchemeRelative", "https://h/a", "//other:8443/p", 0, "https://other:8443/p", ""},
    {"SchemeWithoutCase", "http://h/", "HTTPS://h/", 0, "HTTPS://h/", ""},
    {"Upgrade", "http://h/", "https://h/", 0, "https://h/", ""},
    {"SecureToSecure", "https://h/", "https://i/", 0, "https://i/", ""},
    {"LastAllowed", "http://h/", "/next", 9, "http://h/next", ""},
    {"LoopStopped", "http://h/", "/next", 10, "", TOO_MANY},
    {"LimitBeforeOtherChecks", "https://h/", "ftp://x/", 10, "", TOO_MANY},
    {"Downgrade", "https://h/", "http://h/", 0, "", DOWNGRADE},
    {"DowngradeWithoutCase", "HTTPS://h/", "Http://h/", 0, "", DOWNGRADE},
    {"OtherScheme", "http://h/", "ftp://h/file", 0, "", NOT_HTTP},
    {"SchemeWithoutAuthority", "http://h/", "mailto:a@b", 0, "", NOT_HTTP},
    {"NoHost", "http://h/", "http:///x", 0, "", NOT_HTTP},
    {"UserInformation", "http://h/", "http://u:p@evil/", 0, "", NOT_HTTP},
    {"LineBreakInPath", "http://h/", "/a\r\nSet-Cookie: x", 0, "", NOT_HTTP},
    {"BadPort", "http://h/", "//h:99999/", 0, "", NOT_HTTP},
    {"NoSchemeSeparator", "http://h/", "http:80", 0, "", NOT_HTTP},
};

class GetRedirectTargetCases : public testing::TestWithParam<s_RedirectCase> {};

TEST_P(GetRedirectTargetCases, ResolvesAndChecks) {
    const s_RedirectCase& row = GetParam();
    c_String target = "old";
    c_String error = "old";
    EXPECT_EQ(GetRedirectTarget(row.m_RequestURL, row.m_Location, row.m_RedirectCount, target, error),
              *row.m_Error == 0);
    EXPECT_EQ(target, c_String(row.m_Target));
    EXPECT_EQ(error, c_String(row.m_Error));
}

INSTANTIATE_TEST_SUITE_P(Redirects, GetRedirectTargetCases, testing::ValuesIn(REDIRECT_CASES),
                         [](const testing::TestParamInfo<s_RedirectCase>& info) {
                             return std::string(info.param.m_Name);
                         });

} // namespace
