#pragma once
// The system side of name resolution: getaddrinfo, or a resolver that a test puts in its place,
// with the results in Winsock terms.

#include <string>
#include <vector>

struct addrinfo;

namespace n_PosixSockets {

struct s_ResolvedAddress {
    int m_Family;
    int m_SocketType;
    int m_Protocol;
    unsigned char m_Address[28];
    int m_AddressLength;
    std::string m_CanonicalName;
};

// 0, or the WSA number of the failure. Families, types and flags in Winsock numbers.
int Resolve(const char* node, const char* service, int flags, int family, int socketType, int protocol,
            std::vector<s_ResolvedAddress>& out);

// getaddrinfo's form; a list that it returns is freed with freeaddrinfo.
using t_Resolver = int (*)(const char* node, const char* service, const addrinfo* hints, addrinfo** result);

// Puts a resolver in place of getaddrinfo (null: getaddrinfo again) and returns the one it replaced.
t_Resolver SetResolver(t_Resolver resolver);

// The WSA number for a getaddrinfo result.
int WinsockErrorFromResolver(int result);

} // namespace n_PosixSockets
