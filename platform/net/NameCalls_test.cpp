// Tests of the name calls: lookups of the local host, failures through the test resolver, parsing.

#include "platform/testing/LoopbackPair.h"
#include "platform/testing/TestResolver.h"

#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct s_FailureCase {
    const char* m_Name;
    n_Platform::c_FailingResolver::e_Failure m_Failure;
    int m_Error;
};

class ResolverFailure : public ::testing::TestWithParam<s_FailureCase> {
protected:
    n_Platform::c_WinsockSession m_Session;
};

TEST_P(ResolverFailure, GivesTheWinsockNumber) {
    n_Platform::c_FailingResolver resolver(GetParam().m_Failure);
    ADDRINFOW* list = nullptr;
    EXPECT_EQ(GetAddrInfoW(u"name.invalid", nullptr, nullptr, &list), GetParam().m_Error);
    EXPECT_EQ(WSAGetLastError(), GetParam().m_Error);
    EXPECT_EQ(list, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ResolverFailure,
    ::testing::Values(s_FailureCase{"NoSuchName", n_Platform::c_FailingResolver::NAME_NOT_KNOWN, WSAHOST_NOT_FOUND},
                      s_FailureCase{"TryAgain", n_Platform::c_FailingResolver::TRY_AGAIN, WSATRY_AGAIN}),
    [](const auto& info) { return std::string(info.param.m_Name); });

TEST(GetAddrInfoW, FindsTheLoopbackAddressOfLocalhost) {
    n_Platform::c_WinsockSession session;
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* list = nullptr;
    ASSERT_EQ(GetAddrInfoW(u"localhost", u"80", &hints, &list), 0);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->ai_family, AF_INET);
    const sockaddr_in* address = reinterpret_cast<const sockaddr_in*>(list->ai_addr);
    EXPECT_EQ(ntohl(address->sin_addr.s_addr), u_long(INADDR_LOOPBACK));
    EXPECT_EQ(ntohs(address->sin_port), 80);
    FreeAddrInfoW(list);
}

struct s_PtonCase {
    const WCHAR* m_Text;
    int m_Result;
    u_long m_Address;
};

TEST(InetPtonW, ParsesDottedAddressesOnly) {
    const s_PtonCase cases[] = {
        {u"127.0.0.1", 1, 0x7f000001}, {u"10.0.0.300", 0, 0}, {u"1.2.3", 0, 0}, {u"a.b.c.d", 0, 0}, {u"", 0, 0}};
    for (const s_PtonCase& row : cases) {
        in_addr address{};
        EXPECT_EQ(InetPtonW(AF_INET, row.m_Text, &address), row.m_Result);
        EXPECT_EQ(ntohl(address.s_addr), row.m_Address);
    }
}

} // namespace
