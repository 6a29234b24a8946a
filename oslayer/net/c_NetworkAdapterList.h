#pragma once
// c_NetworkAdapterList: the machine's IPv4 adapters as IP Helper lists them, and the physical (MAC)
// addresses read from that list.
//
// The adapter records and their address chains live in the object's buffer and are valid as long as
// the object.

#include "oslayer/system/c_MemoryAllocator.h"
#include "strings/c_String.h"

#include <iphlpapi.h>

#include <cstdint>
#include <vector>

class c_NetworkAdapterList {
public:
    c_NetworkAdapterList();
    c_NetworkAdapterList(const c_NetworkAdapterList&) = delete;
    c_NetworkAdapterList& operator=(const c_NetworkAdapterList&) = delete;

    // The Windows error of the listing; 0 on success.
    std::uint32_t GetResult() const { return m_Result; }
    // The first adapter; null unless the listing succeeded.
    const IP_ADAPTER_ADDRESSES* GetFirst() const { return m_p_First; }

private:
    std::uint32_t m_Result = 0;
    // Whole 64-bit words keep the records that the system writes aligned.
    std::vector<std::uint64_t, c_MemoryAllocator<std::uint64_t>> m_Buffer;
    const IP_ADAPTER_ADDRESSES* m_p_First = nullptr;
};

namespace n_OSLayer {

// Whether an entry of the chain holds an AF_INET address equal to address (host byte order).
bool IsIPv4AddressInList(const IP_ADAPTER_UNICAST_ADDRESS* first, std::uint32_t address);

// The physical address of the adapter that holds the IPv4 address (host byte order); the last such
// adapter in list order when several do. Empty when none does or the listing failed.
std::vector<std::uint8_t> GetMACAddressOfIPv4Address(std::uint32_t address);

// Two upper-case hexadecimal digits per byte, joined by "-".
c_String FormatMACAddress(const std::vector<std::uint8_t>& bytes);

} // namespace n_OSLayer
