// Tests of the name and address functions: IPv4 parsing as rows, lookups through the test resolver.

#include "oslayer/net/NameLookup.h"
#include "platform/testing/LoopbackPair.h"
#include "platform/testing/TestResolver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct s_EndpointCase {
    const char* m_Text;
    bool m_Parsed;
    std::uint32_t m_Address;
    std::uint16_t m_Port;
};

TEST(ParseIPv4AddressAndPort, Rows) {
    const s_EndpointCase cases[] = {
        {"10.0.0.1:8080", true, 0x0a000001, 8080},
        {"10.0.0.1", true, 0x0a000001, 0},
        {"10.0.0.1: 80x", true, 0x0a000001, 80},
        {"10.0.0.1:70000", false, 0, 0},
        {"10.0.0.300:80", false, 0, 0},
        {"10.0.0.1:99999999999999999999", false, 0, 0},
    };
    for (const s_EndpointCase& row : cases) {
        const std::optional<s_IPv4AddressAndPort> result = n_OSLayer::ParseIPv4AddressAndPort(row.m_Text);
        ASSERT_EQ(result.has_value(), row.m_Parsed) << row.m_Text;
        if (result) {
            EXPECT_EQ(result->m_Address, row.m_Address) << row.m_Text;
            EXPECT_EQ(result->m_Port, row.m_Port) << row.m_Text;
        }
    }
}

TEST(ParseIPv4Address, GivesHostOrder) {
    EXPECT_EQ(n_OSLayer::ParseIPv4Address("127.0.0.1"), 2130706433u);
    EXPECT_FALSE(n_OSLayer::ParseIPv4Address("127.0.0"));
}

TEST(MakeGetAddrInfoErrorText, PutsOneFullStopAndBlankBetween) {
    EXPECT_EQ(std::string(MakeGetAddrInfoErrorText("host", "Text.").GetChars()),
              "Error getting address info for host. Text.");
}

TEST(ResolveIPv4Address, LocalhostIsTheLoopbackAddress) {
    n_Platform::c_WinsockSession session;
    std::uint32_t address = 0;
    c_String error;
    EXPECT_TRUE(ResolveIPv4Address("localhost", &address, &error));
    EXPECT_EQ(address, 0x7F000001u);
}

struct s_FailureCase {
    n_Platform::c_FailingResolver::e_Failure m_Failure;
    const char* m_Text;
};

TEST(ResolveIPv4Address, AFailedLookupGivesTheErrorText) {
    n_Platform::c_WinsockSession session;
    const s_FailureCase cases[] = {
        {n_Platform::c_FailingResolver::NAME_NOT_KNOWN,
         "Error getting address info for nohost. Windows error code 11001: No such host is known."},
        {n_Platform::c_FailingResolver::TRY_AGAIN,
         "Error getting address info for nohost. Windows error code 11002: This is usually a temporary error during "
         "hostname resolution and means that the local server did not receive a response from an authoritative "
         "server."},
    };
    for (const s_FailureCase& row : cases) {
        n_Platform::c_FailingResolver resolver(row.m_Failure);
        std::uint32_t address = 5;
        c_String error;
        EXPECT_FALSE(ResolveIPv4Address("nohost", &address, &error));
        EXPECT_EQ(std::string(error.begin(), error.end()), row.m_Text);
        EXPECT_EQ(address, 5u);
    }
}

} // namespace
