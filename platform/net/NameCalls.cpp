// GetAddrInfoW, FreeAddrInfoW, InetPtonW and gethostname.

#include "platform/files/PathText.h"
#include "platform/kernel/LastError.h"
#include "platform/net/SocketTable.h"
#include "platform/net/WinsockErrors.h"
#include "platform/net/internal/PosixResolver.h"
#include "platform/net/internal/PosixSockets.h"

#include <ws2tcpip.h>

#include <cstring>
#include <string>

namespace {

// One entry of a result list with its address; the canonical name is a block of its own.
struct s_AddrInfoBlock {
    ADDRINFOW m_Info;
    sockaddr_in6 m_Address;
};

WCHAR* CopyName(const std::string& name) {
    if (name.empty()) {
        return nullptr;
    }
    const std::u16string wide = n_Platform::ToUtf16(name);
    WCHAR* copy = new WCHAR[wide.size() + 1];
    std::memcpy(copy, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
    return copy;
}

ADDRINFOW* MakeEntry(const n_PosixSockets::s_ResolvedAddress& address) {
    auto* block = new s_AddrInfoBlock{};
    std::memcpy(&block->m_Address, address.m_Address, std::size_t(address.m_AddressLength));
    block->m_Info.ai_family = address.m_Family;
    block->m_Info.ai_socktype = address.m_SocketType;
    block->m_Info.ai_protocol = address.m_Protocol;
    block->m_Info.ai_addrlen = std::size_t(address.m_AddressLength);
    block->m_Info.ai_addr = reinterpret_cast<sockaddr*>(&block->m_Address);
    block->m_Info.ai_canonname = CopyName(address.m_CanonicalName);
    return &block->m_Info;
}

const char* ToArgument(LPCWSTR text, std::string& storage) {
    if (text == nullptr) {
        return nullptr;
    }
    storage = n_Platform::ToUtf8(text);
    return storage.c_str();
}

} // namespace

int WINAPI GetAddrInfoW(LPCWSTR node, LPCWSTR service, const ADDRINFOW* hints, PADDRINFOW* result) {
    if (result == nullptr) {
        return n_Platform::FailWith(WSAEINVAL, WSAEINVAL);
    }
    *result = nullptr;
    if (!n_Platform::CheckStarted()) {
        return WSANOTINITIALISED;
    }
    if (node == nullptr && service == nullptr) {
        return n_Platform::FailWith(WSAHOST_NOT_FOUND, WSAHOST_NOT_FOUND);
    }
    const ADDRINFOW none{};
    const ADDRINFOW& asked = hints != nullptr ? *hints : none;
    std::string nodeText;
    std::string serviceText;
    std::vector<n_PosixSockets::s_ResolvedAddress> addresses;
    const int error =
        n_PosixSockets::Resolve(ToArgument(node, nodeText), ToArgument(service, serviceText), asked.ai_flags,
                                asked.ai_family, asked.ai_socktype, asked.ai_protocol, addresses);
    if (error != 0) {
        return n_Platform::FailWith(error, DWORD(error));
    }
    ADDRINFOW** next = result;
    for (const n_PosixSockets::s_ResolvedAddress& address : addresses) {
        *next = MakeEntry(address);
        next = &(*next)->ai_next;
    }
    SetLastError(0);
    return 0;
}

void WINAPI FreeAddrInfoW(PADDRINFOW list) {
    while (list != nullptr) {
        ADDRINFOW* next = list->ai_next;
        delete[] list->ai_canonname;
        delete reinterpret_cast<s_AddrInfoBlock*>(list);
        list = next;
    }
}

int WINAPI InetPtonW(int family, LPCWSTR text, PVOID buffer) {
    if (text == nullptr || buffer == nullptr) {
        return n_Platform::FailWith(-1, WSAEFAULT);
    }
    const int result = n_PosixSockets::ParseAddress(family, n_Platform::ToUtf8(text).c_str(), buffer);
    return result < 0 ? n_Platform::FailWithSocketResult(-1, result) : result;
}

int WINAPI gethostname(char* name, int length) {
    if (!n_Platform::CheckStarted()) {
        return SOCKET_ERROR;
    }
    if (name == nullptr || length <= 0) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEFAULT);
    }
    const int result = n_PosixSockets::GetHostName(name, std::size_t(length));
    return result < 0 ? n_Platform::FailWith(SOCKET_ERROR, WSAEFAULT) : 0;
}
