// Tests of the connection information records: keying by (scheme, host, port) and the proxy's choice.

#include "protocols/http/c_HTTPConnectionInfo.h"

#include <gtest/gtest.h>

namespace {

c_HTTPConnectionInfo* Get(c_HTTPConnectionInfoMap& map, const char* url, const c_HTTPProxySettings* proxy = nullptr) {
    return map.GetConnectionInfo(ParseURL(url), proxy);
}

TEST(c_HTTPConnectionInfo, TextIsHostAndPort) {
    c_HTTPEndpoint endpoint{"example.com", 443, true};
    const c_HTTPConnectionInfo info(endpoint);
    EXPECT_EQ(GetConnectionInfoText(info), c_String("example.com:443"));
    EXPECT_EQ(info.m_SchemeName, c_String("HTTPS"));
    EXPECT_FALSE(info.m_ViaProxy);
    EXPECT_FALSE(info.m_UseProxyAuthorization);
}

TEST(c_HTTPConnectionInfoMap, KeysBySchemeHostAndPort) {
    c_HTTPConnectionInfoMap map;
    c_HTTPConnectionInfo* plain = Get(map, "http://example.com/");
    c_HTTPConnectionInfo* secure = Get(map, "https://example.com/");
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(secure, nullptr);
    EXPECT_NE(plain, secure);
    EXPECT_TRUE(secure->m_Secure);
    EXPECT_EQ(secure->m_Port, 443);
    EXPECT_FALSE(plain->m_Secure);
    EXPECT_EQ(plain->m_Port, 80);
    EXPECT_NE(Get(map, "http://example.com:8080/"), plain);
    EXPECT_EQ(Get(map, "HTTP://EXAMPLE.com/other"), plain);
    EXPECT_EQ(Get(map, "http://example.com:80/x"), plain);
    EXPECT_EQ(map.GetCount(), 3u);
}

TEST(c_HTTPConnectionInfoMap, RefusesInvalidURLs) {
    c_HTTPConnectionInfoMap map;
    EXPECT_EQ(Get(map, "http://user@example.com/"), nullptr);
    EXPECT_EQ(map.GetCount(), 0u);
}

struct s_ProxyCase {
    const char* m_Name;
    bool m_Use;
    const char* m_Address;
    std::uint16_t m_HTTPPort;
    std::uint16_t m_HTTPSPort;
    const char* m_URL;
    bool m_ViaProxy;
    const char* m_Host;
    std::uint16_t m_Port;
    bool m_Secure;
};

const s_ProxyCase PROXY_CASES[] = {
    {"HTTPSToProxyHTTPSPort", true, "proxy", 8080, 8443, "https://site/", true, "proxy", 8443, true},
    {"HTTPToProxyHTTPPort", true, "proxy", 8080, 8443, "http://site/", true, "proxy", 8080, false},
    {"NotWanted", false, "proxy", 8080, 8443, "https://site/", false, "site", 443, true},
    {"WantedWithoutAddress", true, "", 8080, 8443, "https://site/", false, "site", 443, true},
    {"HTTPSPortZeroGoesDirect", true, "proxy", 8080, 0, "https://site/", false, "site", 443, true},
    {"HTTPPortZeroGoesDirect", true, "proxy", 0, 8443, "http://site/", false, "site", 80, false},
    {"OtherSchemeGoesDirect", true, "proxy", 8080, 8443, "ftp://site/", false, "site", 80, false},
};

class c_HTTPConnectionInfoMapProxy : public testing::TestWithParam<s_ProxyCase> {};

TEST_P(c_HTTPConnectionInfoMapProxy, ChoosesTheServer) {
    const s_ProxyCase& row = GetParam();
    c_HTTPProxySettings proxy;
    proxy.m_UseHTTPProxy = row.m_Use;
    proxy.m_ProxyAddress = row.m_Address;
    proxy.m_HTTPPort = row.m_HTTPPort;
    proxy.m_HTTPSPort = row.m_HTTPSPort;
    c_HTTPConnectionInfoMap map;
    const c_HTTPConnectionInfo* info = Get(map, row.m_URL, &proxy);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->m_ViaProxy, row.m_ViaProxy);
    EXPECT_EQ(info->m_Host, c_String(row.m_Host));
    EXPECT_EQ(info->m_Port, row.m_Port);
    EXPECT_EQ(info->m_Secure, row.m_Secure);
}

INSTANTIATE_TEST_SUITE_P(Proxies, c_HTTPConnectionInfoMapProxy, testing::ValuesIn(PROXY_CASES),
                         [](const testing::TestParamInfo<s_ProxyCase>& info) {
                             return std::string(info.param.m_Name);
                         });

TEST(c_HTTPConnectionInfoMap, ProxyRecordsPerSchemeAndApartFromDirectOnes) {
    c_HTTPProxySettings proxy;
    proxy.m_UseHTTPProxy = true;
    proxy.m_ProxyAddress = "proxy";
    proxy.m_HTTPPort = 3128;
    proxy.m_HTTPSPort = 3128;
    c_HTTPConnectionInfoMap map;
    const c_HTTPConnectionInfo* viaHTTP = Get(map, "http://a/", &proxy);
    const c_HTTPConnectionInfo* viaHTTPS = Get(map, "https://b/", &proxy);
    ASSERT_NE(viaHTTP, nullptr);
    ASSERT_NE(viaHTTPS, nullptr);
    EXPECT_NE(viaHTTP, viaHTTPS);
    EXPECT_TRUE(viaHTTPS->m_Secure);
    EXPECT_EQ(Get(map, "http://c/", &proxy), viaHTTP);
    const c_HTTPConnectionInfo* direct = Get(map, "http://proxy:3128/");
    ASSERT_NE(direct, nullptr);
    EXPECT_NE(direct, viaHTTP);
    EXPECT_FALSE(direct->m_ViaProxy);
}

} // namespace
