// c_NetworkAdapterList and the MAC address lookups over it.

#include "oslayer/net/c_NetworkAdapterList.h"

#include <new>
#include <string>

namespace {

constexpr ULONG FIRST_BUFFER_SIZE = 15360;
constexpr ULONG LISTING_FLAGS = GAA_FLAG_SKIP_DNS_SERVER | GAA_FLAG_SKIP_FRIENDLY_NAME;

} // namespace

// A second attempt takes the size the system asked for; a second overflow stays the result.
c_NetworkAdapterList::c_NetworkAdapterList() {
    ULONG size = FIRST_BUFFER_SIZE;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            m_Buffer.resize((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
        } catch (const std::bad_alloc&) {
            m_Result = ERROR_NOT_ENOUGH_MEMORY;
            return;
        }
        m_Result = GetAdaptersAddresses(AF_INET, LISTING_FLAGS, nullptr,
                                        reinterpret_cast<PIP_ADAPTER_ADDRESSES>(m_Buffer.data()), &size);
        if (m_Result != ERROR_BUFFER_OVERFLOW) {
            break;
        }
    }
    if (m_Result == 0) {
        m_p_First = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(m_Buffer.data());
    }
}

namespace n_OSLayer {

bool IsIPv4AddressInList(const IP_ADAPTER_UNICAST_ADDRESS* first, std::uint32_t address) {
    for (const IP_ADAPTER_UNICAST_ADDRESS* entry = first; entry != nullptr; entry = entry->Next) {
        const sockaddr* socketAddress = entry->Address.lpSockaddr;
        if (socketAddress != nullptr && socketAddress->sa_family == AF_INET &&
            ntohl(reinterpret_cast<const sockaddr_in*>(socketAddress)->sin_addr.s_addr) == address) {
            return true;
        }
    }
    return false;
}

std::vector<std::uint8_t> GetMACAddressOfIPv4Address(std::uint32_t address) {
    const c_NetworkAdapterList list;
    std::vector<std::uint8_t> found;
    for (const IP_ADAPTER_ADDRESSES* adapter = list.GetFirst(); adapter != nullptr; adapter = adapter->Next) {
        if (IsIPv4AddressInList(adapter->FirstUnicastAddress, address) ||
            IsIPv4AddressInList(adapter->FirstAnycastAddress, address) ||
            IsIPv4AddressInList(adapter->FirstMulticastAddress, address)) {
            found.assign(adapter->PhysicalAddress, adapter->PhysicalAddress + adapter->PhysicalAddressLength);
        }
    }
    return found;
}

c_String FormatMACAddress(const std::vector<std::uint8_t>& bytes) {
    static constexpr char DIGITS[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        if (index > 0) {
            text += '-';
        }
        text += DIGITS[bytes[index] >> 4];
        text += DIGITS[bytes[index] & 0x0F];
    }
    return c_String(text.data(), static_cast<int>(text.size()));
}

} // namespace n_OSLayer
