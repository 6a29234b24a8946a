// Tests of the URL split, its checks, the endpoint and BuildURL.

#include "protocols/http/c_HTTPURLParts.h"

#include <gtest/gtest.h>

namespace {

struct s_URLCase {
    const char* m_Name;
    const char* m_URL;
    bool m_Valid;
    const char* m_Scheme;
    const char* m_Host;
    const char* m_PortText;
    const char* m_Path;
    std::uint16_t m_Port;
    bool m_Secure;
};

const s_URLCase URL_CASES[] = {
    {"Whole", "https://example.com:8443/a/b?c=1", true, "https", "example.com", "8443", "/a/b?c=1", 8443, true},
    {"NoPath", "http://example.com", true, "http", "example.com", "", "", 80, false},
    {"NoScheme", "example.com/x", true, "", "example.com", "", "/x", 80, false},
    {"OtherScheme", "ftp://example.com/", true, "ftp", "example.com", "", "/", 80, false},
    {"SchemeWithoutCase", "HTTPS://example.com/", true, "HTTPS", "example.com", "", "/", 443, true},
    {"QueryEndsHost", "http://example.com?a=b:1", true, "http", "example.com", "", "?a=b:1", 80, false},
    {"FragmentNotSent", "http://example.com/a#top", true, "http", "example.com", "", "/a", 80, false},
    {"FragmentEndsHost", "http://example.com#x:1/y", true, "http", "example.com", "", "", 80, false},
    {"SchemeInQueryIsNoScheme", "example.com/r?u=http://x", true, "", "example.com", "", "/r?u=http://x", 80, false},
    {"HighestPort", "http://a:65535/", true, "http", "a", "65535", "/", 65535, false},
    {"PortZero", "https://example.com:0/x", false, "https", "example.com", "0", "/x", 443, true},
    {"PortAbove16Bits", "https://example.com:70000/", false, "https", "example.com", "70000", "/", 443, true},
    {"EmptyPort", "http://example.com:/", false, "http", "example.com", "", "/", 80, false},
    {"PortWithLetters", "http://example.com:80a/", false, "http", "example.com", "80a", "/", 80, false},
    {"UserInformation", "http://user:pw@example.com/", false, "http", "user", "pw@example.com", "/", 80, false},
    {"UserWithoutPassword", "http://user@example.com/", false, "http", "user@example.com", "", "/", 80, false},
    {"SpaceInHost", "http://exa mple.com/", false, "http", "exa mple.com", "", "/", 80, false},
    {"ControlInHost", "http://exa\x01mple.com/", false, "http", "exa\x01mple.com", "", "/", 80, false},
    {"LineBreakInPath", "http://example.com/a\r\nX: 1", false, "http", "example.com", "", "/a\r\nX: 1", 80, false},
    {"EmptyHost", "http:///x", false, "http", "", "", "/x", 80, false},
    {"EmptyScheme", "://example.com/", false, "", "example.com", "", "/", 80, false},
    {"BracketedAddress", "http://[::1]:8080/", false, "http", "[::1]", "8080", "/", 8080, false},
};

class c_HTTPURLPartsCases : public testing::TestWithParam<s_URLCase> {};

TEST_P(c_HTTPURLPartsCases, SplitsAndNamesTheEndpoint) {
    const s_URLCase& row = GetParam();
    const c_HTTPURLParts parts = ParseURL(row.m_URL);
    EXPECT_EQ(parts.IsValid(), row.m_Valid);
    EXPECT_EQ(c_String(parts.GetScheme()), c_String(row.m_Scheme));
    EXPECT_EQ(c_String(parts.GetHost()), c_String(row.m_Host));
    EXPECT_EQ(c_String(parts.GetPortText()), c_String(row.m_PortText));
    EXPECT_EQ(c_String(parts.GetPath()), c_String(row.m_Path));
    const c_HTTPEndpoint endpoint = GetEndpoint(parts);
    EXPECT_EQ(endpoint.m_Host, c_String(row.m_Host));
    EXPECT_EQ(endpoint.m_Port, row.m_Port);
    EXPECT_EQ(endpoint.m_Secure, row.m_Secure);
}

INSTANTIATE_TEST_SUITE_P(URLs, c_HTTPURLPartsCases, testing::ValuesIn(URL_CASES),
                         [](const testing::TestParamInfo<s_URLCase>& info) { return std::string(info.param.m_Name); });

TEST(c_HTTPURLParts, NoPathPutsThePathStartAtTheEnd) {
    const c_HTTPURLParts parts = ParseURL("http://example.com");
    EXPECT_EQ(parts.m_PathStart, 18);
    EXPECT_EQ(parts.m_HostEnd, 18);
    EXPECT_EQ(parts.m_SchemeEnd, 4);
    EXPECT_EQ(parts.m_HostStart, 7);
}

TEST(BuildURL, JoinsSchemeHostAndPort) {
    EXPECT_EQ(BuildURL("https", "proxy.example", 3128), c_String("https://proxy.example:3128"));
    EXPECT_EQ(BuildURL("", "host", 80), c_String("host:80"));
    EXPECT_EQ(BuildURL("http", "host", 0), c_String("http://host"));
}

} // namespace
