// MakeSockAddrIPv4 and ParseSockAddrIPv4.

#include "network/SockAddrIPv4.h"

sockaddr_in MakeSockAddrIPv4(std::uint32_t address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr.s_addr = htonl(address);
    return result;
}

std::optional<s_IPv4Endpoint> ParseSockAddrIPv4(const sockaddr* address, std::int32_t length) {
    if (address == nullptr || length < static_cast<std::int32_t>(sizeof(sockaddr_in)) ||
        address->sa_family != AF_INET) {
        return std::nullopt;
    }
    const sockaddr_in* ipv4 = reinterpret_cast<const sockaddr_in*>(address);
    return s_IPv4Endpoint{ntohl(ipv4->sin_addr.s_addr), ntohs(ipv4->sin_port)};
}
