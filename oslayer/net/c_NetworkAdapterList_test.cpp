// Tests of the MAC address lookups against this machine's interfaces, read apart from the layer.

#include "oslayer/net/c_NetworkAdapterList.h"

#include "platform/testing/InterfaceFacts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct s_FormatCase {
    const char* m_Name;
    std::vector<std::uint8_t> m_Bytes;
    const char* m_Text;
};

class FormatMACAddress : public testing::TestWithParam<s_FormatCase> {};

TEST_P(FormatMACAddress, WritesUpperCaseHexPairsJoinedByDashes) {
    EXPECT_EQ(n_OSLayer::FormatMACAddress(GetParam().m_Bytes), GetParam().m_Text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatMACAddress,
    testing::Values(s_FormatCase{"SixBytes", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, "00-1A-2B-3C-4D-5E"},
                    s_FormatCase{"OneByteHasNoSeparator", {0x0A}, "0A"},
                    s_FormatCase{"HighNibbleFirst", {0xF0, 0x0F}, "F0-0F"}, s_FormatCase{"NoBytesNoText", {}, ""}),
    [](const testing::TestParamInfo<s_FormatCase>& info) { return info.param.m_Name; });

TEST(GetMACAddressOfIPv4Address, GivesTheHardwareAddressOfTheInterfaceThatHoldsTheAddress) {
    const std::vector<s_InterfaceFact> facts = ReadInterfaceFacts();
    ASSERT_FALSE(facts.empty());
    for (const s_InterfaceFact& fact : facts) {
        const c_String text = n_OSLayer::FormatMACAddress(n_OSLayer::GetMACAddressOfIPv4Address(fact.m_IPv4Address));
        EXPECT_EQ(std::string(text.begin(), text.end()), ToDashedUpperCase(fact.m_HardwareAddressText)) << fact.m_Name;
    }
}

TEST(GetMACAddressOfIPv4Address, AnAddressNoAdapterHoldsGivesNothing) {
    // 203.0.113.77 (documentation range), in host byte order.
    EXPECT_TRUE(n_OSLayer::GetMACAddressOfIPv4Address(0xCB00714D).empty());
}

} // namespace
