// Name resolution over getaddrinfo, with the test's resolver hook.

#include "platform/net/internal/PosixResolver.h"

#include <atomic>
#include <cstring>
#include <netdb.h>
#include <sys/socket.h>

namespace n_PosixSockets {

namespace {

constexpr int WINSOCK_AF_INET6 = 23;

struct s_ResolverError {
    int m_Result;
    int m_Error;
};

constexpr s_ResolverError RESOLVER_ERRORS[] = {
    {EAI_NONAME, 11001}, {EAI_AGAIN, 11002},    {EAI_FAIL, 11003},    {EAI_NODATA, 11004}, {EAI_ADDRFAMILY, 11004},
    {EAI_FAMILY, 10047}, {EAI_SOCKTYPE, 10044}, {EAI_SERVICE, 10109}, {EAI_MEMORY, 8},     {EAI_BADFLAGS, 10022},
};

std::atomic<t_Resolver> g_Resolver{&::getaddrinfo};

int ToSystemFamily(int family) {
    return family == WINSOCK_AF_INET6 ? AF_INET6 : family;
}

int ToWinsockFamily(int family) {
    return family == AF_INET6 ? WINSOCK_AF_INET6 : family;
}

void Collect(const addrinfo* list, std::vector<s_ResolvedAddress>& out) {
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_addrlen > sizeof(s_ResolvedAddress::m_Address)) {
            continue;
        }
        s_ResolvedAddress address{ToWinsockFamily(entry->ai_family),
                                  entry->ai_socktype,
                                  entry->ai_protocol,
                                  {},
                                  0,
                                  entry->ai_canonname != nullptr ? entry->ai_canonname : ""};
        std::memcpy(address.m_Address, entry->ai_addr, entry->ai_addrlen);
        address.m_AddressLength = int(entry->ai_addrlen);
        const unsigned short family = static_cast<unsigned short>(address.m_Family);
        std::memcpy(address.m_Address, &family, sizeof family);
        out.push_back(address);
    }
}

} // namespace

int WinsockErrorFromResolver(int result) {
    for (const s_ResolverError& error : RESOLVER_ERRORS) {
        if (error.m_Result == result) {
            return error.m_Error;
        }
    }
    return 11003;
}

int Resolve(const char* node, const char* service, int flags, int family, int socketType, int protocol,
            std::vector<s_ResolvedAddress>& out) {
    addrinfo hints{};
    hints.ai_flags = flags;
    hints.ai_family = ToSystemFamily(family);
    hints.ai_socktype = socketType;
    hints.ai_protocol = protocol;
    addrinfo* list = nullptr;
    const int result = g_Resolver.load()(node, service, &hints, &list);
    if (result != 0) {
        return WinsockErrorFromResolver(result);
    }
    Collect(list, out);
    freeaddrinfo(list);
    return 0;
}

t_Resolver SetResolver(t_Resolver resolver) {
    return g_Resolver.exchange(resolver != nullptr ? resolver : &::getaddrinfo);
}

} // namespace n_PosixSockets
