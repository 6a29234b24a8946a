// Tests of GetAdaptersAddresses against this machine's interfaces, read apart from the layer.

#include "platform/testing/InterfaceFacts.h"

#include <iphlpapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr ULONG SKIPPED = GAA_FLAG_SKIP_DNS_SERVER | GAA_FLAG_SKIP_FRIENDLY_NAME;

// The listing in a buffer of the size the first call asks for.
std::vector<std::uint64_t> ListAdapters(ULONG flags) {
    ULONG size = 0;
    EXPECT_EQ(GetAdaptersAddresses(AF_INET, flags, nullptr, nullptr, &size), ULONG(ERROR_BUFFER_OVERFLOW));
    std::vector<std::uint64_t> buffer(size / 8 + 1);
    EXPECT_EQ(
        GetAdaptersAddresses(AF_INET, flags, nullptr, reinterpret_cast<PIP_ADAPTER_ADDRESSES>(buffer.data()), &size),
        ULONG(ERROR_SUCCESS));
    return buffer;
}

const IP_ADAPTER_ADDRESSES* FindAdapter(const std::vector<std::uint64_t>& buffer, const std::string& name) {
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter != nullptr;
         adapter = adapter->Next) {
        if (name == adapter->AdapterName) {
            return adapter;
        }
    }
    return nullptr;
}

bool HoldsAddress(const IP_ADAPTER_ADDRESSES& adapter, std::uint32_t address) {
    for (auto* entry = adapter.FirstUnicastAddress; entry != nullptr; entry = entry->Next) {
        const auto* socketAddress = reinterpret_cast<const sockaddr_in*>(entry->Address.lpSockaddr);
        if (socketAddress->sin_family == AF_INET && ntohl(socketAddress->sin_addr.s_addr) == address) {
            return true;
        }
    }
    return false;
}

std::string HardwareText(const IP_ADAPTER_ADDRESSES& adapter) {
    std::string text;
    for (ULONG index = 0; index < adapter.PhysicalAddressLength; ++index) {
        char pair[4];
        std::snprintf(pair, sizeof pair, index == 0 ? "%02x" : ":%02x", adapter.PhysicalAddress[index]);
        text += pair;
    }
    return text;
}

TEST(GetAdaptersAddresses, ListsEveryIPv4InterfaceWithItsHardwareAddress) {
    const std::vector<s_InterfaceFact> facts = ReadInterfaceFacts();
    ASSERT_FALSE(facts.empty());
    const std::vector<std::uint64_t> buffer = ListAdapters(SKIPPED);
    for (const s_InterfaceFact& fact : facts) {
        const IP_ADAPTER_ADDRESSES* adapter = FindAdapter(buffer, fact.m_Name);
        ASSERT_NE(adapter, nullptr) << fact.m_Name;
        EXPECT_TRUE(HoldsAddress(*adapter, fact.m_IPv4Address)) << fact.m_Name;
        EXPECT_EQ(HardwareText(*adapter), fact.m_HardwareAddressText) << fact.m_Name;
        EXPECT_EQ(adapter->FirstAnycastAddress, nullptr);
        EXPECT_EQ(adapter->FirstDnsServerAddress, nullptr);
    }
}

TEST(GetAdaptersAddresses, GivesTheFriendlyNameUnlessSkipped) {
    const std::string name = ReadInterfaceFacts().at(0).m_Name;
    const std::u16string wideName(name.begin(), name.end());
    const std::vector<std::uint64_t> named = ListAdapters(GAA_FLAG_SKIP_DNS_SERVER);
    EXPECT_EQ(std::u16string(FindAdapter(named, name)->FriendlyName), wideName);
    const std::vector<std::uint64_t> skipped = ListAdapters(SKIPPED);
    EXPECT_EQ(std::u16string(FindAdapter(skipped, name)->FriendlyName), u"");
    EXPECT_EQ(std::u16string(FindAdapter(skipped, name)->Description), wideName);
}

struct s_SizeCase {
    const char* m_Name;
    ULONG m_Family;
    bool m_WithSize;
    // Bytes of the buffer below what the listing needs.
    ULONG m_Shortfall;
    ULONG m_Result;
};

class AdapterListingSize : public testing::TestWithParam<s_SizeCase> {};

TEST_P(AdapterListingSize, AnswersAsIPHelperDoes) {
    ULONG needed = 0;
    ASSERT_EQ(GetAdaptersAddresses(AF_INET, SKIPPED, nullptr, nullptr, &needed), ULONG(ERROR_BUFFER_OVERFLOW));
    ASSERT_GT(needed, sizeof(IP_ADAPTER_ADDRESSES));
    std::vector<std::uint64_t> buffer(needed / 8 + 1);
    ULONG size = needed - GetParam().m_Shortfall;
    const ULONG result = GetAdaptersAddresses(GetParam().m_Family, SKIPPED, nullptr,
                                              reinterpret_cast<PIP_ADAPTER_ADDRESSES>(buffer.data()),
                                              GetParam().m_WithSize ? &size : nullptr);
    EXPECT_EQ(result, GetParam().m_Result);
    if (result == ERROR_BUFFER_OVERFLOW) {
        EXPECT_EQ(size, needed) << "the size needed is reported back";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, AdapterListingSize,
                         testing::Values(s_SizeCase{"ExactSizeSucceeds", AF_INET, true, 0, ERROR_SUCCESS},
                                         s_SizeCase{"UnspecifiedFamilyIsIPv4", AF_UNSPEC, true, 0, ERROR_SUCCESS},
                                         s_SizeCase{"OneByteShortOverflows", AF_INET, true, 1, ERROR_BUFFER_OVERFLOW},
                                         s_SizeCase{"NoSizeIsAnInvalidParameter", AF_INET, false, 0,
                                                    ERROR_INVALID_PARAMETER},
                                         s_SizeCase{"IPv6IsNotSupported", AF_INET6, true, 0, ERROR_NOT_SUPPORTED}),
                         [](const testing::TestParamInfo<s_SizeCase>& info) { return info.param.m_Name; });

} // namespace
