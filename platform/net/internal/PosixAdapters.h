#pragma once
// The system side of the adapter listing: the interfaces that hold IPv4 addresses, read with
// getifaddrs, with their hardware addresses from the packet family.

#include <cstdint>
#include <string>
#include <vector>

namespace n_PosixSockets {

struct s_InterfaceRecord {
    std::string m_Name;
    std::uint32_t m_Index = 0;
    std::vector<std::uint8_t> m_HardwareAddress;
    // In network byte order, as the system lists them.
    std::vector<std::uint32_t> m_IPv4Addresses;
};

// In interface index order; false, with errno set, when the system could not list them.
bool ReadIPv4Interfaces(std::vector<s_InterfaceRecord>& out);

} // namespace n_PosixSockets
