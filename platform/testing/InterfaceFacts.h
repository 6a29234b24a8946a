#pragma once
// Test helper: this machine's IPv4 interfaces read with the system's own calls, apart from the
// layer's adapter listing: the addresses from SIOCGIFCONF, the hardware address from
// /sys/class/net/NAME/address.

#include <cstdint>
#include <string>
#include <vector>

struct s_InterfaceFact {
    std::string m_Name;
    // Host byte order.
    std::uint32_t m_IPv4Address = 0;
    // As the system writes it: lower-case hexadecimal pairs joined by ':'.
    std::string m_HardwareAddressText;
};

std::vector<s_InterfaceFact> ReadInterfaceFacts();

// The system's "02:fc:00:00:00:01" as the program writes it: "02-FC-00-00-00-01".
std::string ToDashedUpperCase(std::string hardwareAddressText);
