#pragma once
// IPv4 socket addresses built from and read into host-order values.

#include "network/c_SocketWrapper.h"

#include <winsock2.h>

#include <cstdint>
#include <optional>

// Family AF_INET, address and port in network order, the rest zero.
sockaddr_in MakeSockAddrIPv4(std::uint32_t address, std::uint16_t port);

// Only an AF_INET address of at least 16 bytes; values in host order.
std::optional<s_IPv4Endpoint> ParseSockAddrIPv4(const sockaddr* address, std::int32_t length);
