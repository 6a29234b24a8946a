// c_NetworkSocketCore: name resolution on its own thread, the address cache and the IPv4 texts.

#include "network/c_NetworkSocketCore.h"

#include "network/SockAddrIPv4.h"
#include "oslayer/net/NameLookup.h"
#include "oslayer/system/ErrorText.h"
#include "oslayer/system/LogMessage.h"
#include "textutil/NumberFormatting.h"
#include "textutil/c_DateTime.h"

#include <ws2tcpip.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string ToKey(const c_String& host) {
    return std::string(host.begin(), host.end());
}

} // namespace

bool c_NetworkSocketCore::ResolveNextName() {
    s_NameResolutionRequest request;
    {
        c_CriticalSectionLock table(GetSocketTableLock());
        if (m_NameResolutionRequests.empty()) {
            return false;
        }
        request = std::move(m_NameResolutionRequests.front());
        m_NameResolutionRequests.pop_front();
    }
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = request.m_UDP ? SOCK_DGRAM : SOCK_STREAM;
    hints.ai_protocol = request.m_UDP ? IPPROTO_UDP : IPPROTO_TCP;
    ADDRINFOW* list = nullptr;
    int result = 0;
    bool threw = false;
    try {
        result =
            n_OSLayer::GetAddrInfo(request.m_Host, ToString(static_cast<unsigned int>(request.m_Port)), &hints, &list);
    } catch (...) {
        threw = true;
    }
    if (m_NameResolutionThread.IsStopRequested()) {
        if (list != nullptr) {
            FreeAddrInfoW(list);
        }
        return false;
    }
    if (threw) {
        request.m_ErrorText = "getaddrinfo exception occurred";
    } else if (result != 0) {
        request.m_ErrorText = Concat({"Error getting address info for ", request.m_Host, ".  ",
                                      n_OSLayer::GetWindowsErrorText(static_cast<std::uint32_t>(result))});
        request.m_HostNotFound = result == WSAHOST_NOT_FOUND;
    } else {
        for (const ADDRINFOW* entry = list; entry != nullptr; entry = entry->ai_next) {
            if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in)) {
                std::memcpy(&request.m_Address, entry->ai_addr, sizeof(sockaddr_in));
                break;
            }
        }
    }
    if (m_CompletionPort != nullptr) {
        const std::int32_t index = request.m_SocketIndex;
        const std::uint32_t id = request.m_SocketID;
        {
            c_CriticalSectionLock table(GetSocketTableLock());
            m_NameResolutionResults.push_back(std::move(request));
        }
        PostCompletion(index, COMPLETION_KEY_NAME_RESOLVED, id);
    }
    if (list != nullptr) {
        FreeAddrInfoW(list);
    }
    return true;
}

void c_NetworkSocketCore::OnNameResolved() {
    std::deque<s_NameResolutionRequest> results;
    {
        c_CriticalSectionLock table(GetSocketTableLock());
        results.swap(m_NameResolutionResults);
    }
    for (const s_NameResolutionRequest& result : results) {
        c_CriticalSectionLock lock;
        c_NetworkSocket* socket = GetNetworkSocket(result.m_SocketIndex, result.m_SocketID, false, lock);
        if (socket == nullptr) {
            continue;
        }
        // A socket whose owner has let go connects nothing: its close request is on its way.
        if (socket->m_p_Owner == nullptr) {
            continue;
        }
        if (result.m_ErrorText.IsEmpty()) {
            socket->m_RemoteSockAddr = result.m_Address;
            {
                c_CriticalSectionLock table(GetSocketTableLock());
                m_CachedAddresses[ToKey(result.m_Host)] = {ntohl(result.m_Address.sin_addr.s_addr),
                                                           GetCurrentDateTimeUTC().GetValue()};
            }
            ConnectNetworkSocket(socket, lock);
            continue;
        }
        std::uint32_t cached = 0;
        bool found = false;
        if (result.m_HostNotFound) {
            c_CriticalSectionLock table(GetSocketTableLock());
            auto entry = m_CachedAddresses.find(ToKey(result.m_Host));
            if (entry != m_CachedAddresses.end()) {
                cached = entry->second.m_Address;
                found = true;
            }
        }
        if (found) {
            socket->Log("Using previously cached IP address because unable to resolve domain name", true);
            socket->m_RemoteSockAddr = MakeSockAddrIPv4(cached, result.m_Port);
            ConnectNetworkSocket(socket, lock);
            continue;
        }
        if (result.m_LogErrors) {
            LogMessage(result.m_ErrorText);
        }
        socket->PostSocketEvent(SOCKET_EVENT_NAME_RESOLUTION_FAILED);
    }
}

bool c_NetworkSocketCore::ParseIPv4Text(const c_StringView& text, std::uint32_t* address) {
    const std::string copy(text.begin(), text.end());
    int a = 0;
    int b = 0;
    int c = 0;
    int d = 0;
    if (std::sscanf(copy.c_str(), "%d.%d.%d.%d", &a, &b, &c, &d) != 4) {
        return false;
    }
    const std::uint32_t value = (static_cast<std::uint32_t>(a & 0xFF) << 24) |
                                (static_cast<std::uint32_t>(b & 0xFF) << 16) |
                                (static_cast<std::uint32_t>(c & 0xFF) << 8) | static_cast<std::uint32_t>(d & 0xFF);
    if (IPv4ToString(value) != text) {
        return false;
    }
    if (address != nullptr) {
        *address = value;
    }
    return true;
}

c_String c_NetworkSocketCore::GetLocalHostName() {
    c_WinSockInitializer winsock;
    if (!winsock.IsStarted()) {
        return c_String();
    }
    char name[256] = {};
    gethostname(name, 255);
    return c_String(name);
}
