#pragma once
// IP Helper's adapter listing: GetAdaptersAddresses and the records it writes.
//
// The records form chains inside the caller's buffer: adapters through Next, and each adapter's
// addresses through their own Next. Only IPv4 is listed. The physical address is the interface's
// hardware address as the system has it (the loopback's is six zero bytes); anycast, multicast and
// DNS server lists are always empty.

#include <winsock2.h>

typedef std::uint32_t ULONG;
typedef ULONG* PULONG;
typedef unsigned char BYTE;

#define MAX_ADAPTER_ADDRESS_LENGTH 8

#define ERROR_BUFFER_OVERFLOW 111
#define ERROR_NO_DATA 232

#define GAA_FLAG_SKIP_DNS_SERVER 0x0008
#define GAA_FLAG_SKIP_FRIENDLY_NAME 0x0020

struct SOCKET_ADDRESS {
    sockaddr* lpSockaddr;
    int iSockaddrLength;
};

// The unicast, anycast and multicast entries share one shape.
struct IP_ADAPTER_UNICAST_ADDRESS {
    union {
        ULONGLONG Alignment;
        struct {
            ULONG Length;
            DWORD Flags;
        };
    };
    IP_ADAPTER_UNICAST_ADDRESS* Next;
    SOCKET_ADDRESS Address;
};
typedef IP_ADAPTER_UNICAST_ADDRESS* PIP_ADAPTER_UNICAST_ADDRESS;
typedef IP_ADAPTER_UNICAST_ADDRESS IP_ADAPTER_ANYCAST_ADDRESS;
typedef IP_ADAPTER_ANYCAST_ADDRESS* PIP_ADAPTER_ANYCAST_ADDRESS;
typedef IP_ADAPTER_UNICAST_ADDRESS IP_ADAPTER_MULTICAST_ADDRESS;
typedef IP_ADAPTER_MULTICAST_ADDRESS* PIP_ADAPTER_MULTICAST_ADDRESS;
typedef IP_ADAPTER_UNICAST_ADDRESS IP_ADAPTER_DNS_SERVER_ADDRESS;
typedef IP_ADAPTER_DNS_SERVER_ADDRESS* PIP_ADAPTER_DNS_SERVER_ADDRESS;

struct IP_ADAPTER_ADDRESSES {
    union {
        ULONGLONG Alignment;
        struct {
            ULONG Length;
            DWORD IfIndex;
        };
    };
    IP_ADAPTER_ADDRESSES* Next;
    char* AdapterName;
    PIP_ADAPTER_UNICAST_ADDRESS FirstUnicastAddress;
    PIP_ADAPTER_ANYCAST_ADDRESS FirstAnycastAddress;
    PIP_ADAPTER_MULTICAST_ADDRESS FirstMulticastAddress;
    PIP_ADAPTER_DNS_SERVER_ADDRESS FirstDnsServerAddress;
    WCHAR* DnsSuffix;
    WCHAR* Description;
    WCHAR* FriendlyName;
    BYTE PhysicalAddress[MAX_ADAPTER_ADDRESS_LENGTH];
    ULONG PhysicalAddressLength;
};
typedef IP_ADAPTER_ADDRESSES* PIP_ADAPTER_ADDRESSES;
static_assert(sizeof(IP_ADAPTER_ADDRESSES) == 96, "IP_ADAPTER_ADDRESSES up to its physical address is 96 bytes");

// family AF_INET or AF_UNSPEC (others: ERROR_NOT_SUPPORTED). 0, and the records written to adapters;
// ERROR_BUFFER_OVERFLOW with the size needed in *size when the buffer is smaller; ERROR_NO_DATA when
// no adapter holds an IPv4 address; ERROR_INVALID_PARAMETER without a size.
ULONG WINAPI GetAdaptersAddresses(ULONG family, ULONG flags, PVOID reserved, PIP_ADAPTER_ADDRESSES adapters,
                                  PULONG size);
