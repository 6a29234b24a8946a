#pragma once
// n_OSLayer name and address lookup: GetAddrInfo, IPv4 parsing, the lookup of a host's first IPv4
// address, and the texts of network errors and failed lookups.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <ws2tcpip.h>

#include <cstdint>
#include <optional>

struct s_IPv4AddressAndPort {
    std::uint32_t m_Address = 0;
    std::uint16_t m_Port = 0;
};

namespace n_OSLayer {

// GetAddrInfoW on the converted texts (an empty service is none): 0, or the WinSock error. The
// caller frees the list with FreeAddrInfoW.
int GetAddrInfo(const c_StringView& host, const c_StringView& service, const ADDRINFOW* hints, ADDRINFOW** result);

// A dotted IPv4 text, in host byte order.
std::optional<std::uint32_t> ParseIPv4Address(const c_StringView& text);

// address ":" port; no port is port 0; blanks before the port and anything after its digits are
// ignored; a port above 65535 gives nothing.
std::optional<s_IPv4AddressAndPort> ParseIPv4AddressAndPort(const c_StringView& text);

} // namespace n_OSLayer

// "Error getting address info for " + host + ". " + error text.
c_String MakeGetAddrInfoErrorText(const c_StringView& host, const c_StringView& errorText);

// The Windows error text of a network error code.
c_String GetNetworkErrorText(std::uint32_t code);

// The host's first IPv4 address in host byte order. A failed lookup sets the error text; a lookup
// without an IPv4 entry returns false and leaves it unchanged.
bool ResolveIPv4Address(const c_String& host, std::uint32_t* address, c_String* error);
