#pragma once
// Winsock's name and address calls: GetAddrInfoW, FreeAddrInfoW, InetPtonW, and the multicast
// membership record.
//
// Lookups give the WSA numbers: a name that does not exist WSAHOST_NOT_FOUND, a resolver that could
// not answer now WSATRY_AGAIN.

#include <winsock2.h>

#define IP_MULTICAST_IF 9
#define IP_MULTICAST_TTL 10
#define IP_MULTICAST_LOOP 11
#define IP_ADD_MEMBERSHIP 12
#define IP_DROP_MEMBERSHIP 13

// A membership is the group and the interface that receives it; on the receiving side the socket
// is bound to the port.
struct ip_mreq {
    in_addr imr_multiaddr;
    in_addr imr_interface;
};
static_assert(sizeof(ip_mreq) == 8, "ip_mreq is 8 bytes");

#define AI_PASSIVE 0x01
#define AI_CANONNAME 0x02
#define AI_NUMERICHOST 0x04

struct ADDRINFOW {
    int ai_flags;
    int ai_family;
    int ai_socktype;
    int ai_protocol;
    std::size_t ai_addrlen;
    WCHAR* ai_canonname;
    sockaddr* ai_addr;
    ADDRINFOW* ai_next;
};
typedef ADDRINFOW* PADDRINFOW;
static_assert(sizeof(ADDRINFOW) == 48, "ADDRINFOW is 48 bytes");

// 0, or the WSA error; the list is freed with FreeAddrInfoW.
int WINAPI GetAddrInfoW(LPCWSTR node, LPCWSTR service, const ADDRINFOW* hints, PADDRINFOW* result);
void WINAPI FreeAddrInfoW(PADDRINFOW list);
// 1 for a well-formed address (written to the buffer), 0 for a malformed text, -1 with WSAEAFNOSUPPORT
// for a family other than AF_INET and AF_INET6.
int WINAPI InetPtonW(int family, LPCWSTR text, PVOID buffer);
