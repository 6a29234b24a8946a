// c_SocketWrapper: one Winsock call per operation, host order at the boundary.

#include "network/c_SocketWrapper.h"

#include "network/SockAddrIPv4.h"
#include "textutil/NumberFormatting.h"

#include <ws2tcpip.h>

#include <utility>

namespace {

bool HoldsSocket(SOCKET handle) {
    return handle != 0 && handle != INVALID_SOCKET;
}

} // namespace

c_SocketWrapper::c_SocketWrapper(c_SocketWrapper&& other) noexcept : m_Handle(std::exchange(other.m_Handle, 0)) {}

c_SocketWrapper& c_SocketWrapper::operator=(c_SocketWrapper&& other) noexcept {
    std::swap(m_Handle, other.m_Handle);
    return *this;
}

c_SocketWrapper::~c_SocketWrapper() {
    Close();
}

bool c_SocketWrapper::Close() {
    const SOCKET handle = std::exchange(m_Handle, 0);
    return !HoldsSocket(handle) || closesocket(handle) != SOCKET_ERROR;
}

c_String c_SocketWrapper::ToString() const {
    return ::ToString(static_cast<unsigned long long>(m_Handle));
}

bool c_SocketWrapper::Create(int type, int protocol) {
    const SOCKET handle = socket(AF_INET, type, protocol);
    m_Handle = handle == INVALID_SOCKET ? 0 : handle;
    return handle != INVALID_SOCKET;
}

bool c_SocketWrapper::CreateTCP() {
    return Create(SOCK_STREAM, 0);
}

bool c_SocketWrapper::CreateUDP() {
    return Create(SOCK_DGRAM, IPPROTO_UDP);
}

bool c_SocketWrapper::SetNonBlocking() {
    u_long enable = 1;
    return ioctlsocket(m_Handle, FIONBIO, &enable) != SOCKET_ERROR;
}

std::optional<std::int32_t> c_SocketWrapper::GetReceiveBytesAvailable() {
    u_long available = 0;
    if (ioctlsocket(m_Handle, FIONREAD, &available) == SOCKET_ERROR) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(available);
}

std::optional<std::int32_t> c_SocketWrapper::GetIntegerOption(int level, int name) {
    int value = 0;
    int length = sizeof value;
    if (getsockopt(m_Handle, level, name, reinterpret_cast<char*>(&value), &length) == SOCKET_ERROR ||
        length != sizeof value) {
        return std::nullopt;
    }
    return value;
}

bool c_SocketWrapper::SetIntegerOption(int level, int name, int value) {
    return setsockopt(m_Handle, level, name, reinterpret_cast<const char*>(&value), sizeof value) != SOCKET_ERROR;
}

bool c_SocketWrapper::ClearDontLinger() {
    return SetIntegerOption(SOL_SOCKET, SO_DONTLINGER, 0);
}

std::optional<std::int32_t> c_SocketWrapper::GetSendBufferSize() {
    return GetIntegerOption(SOL_SOCKET, SO_SNDBUF);
}

std::optional<std::int32_t> c_SocketWrapper::GetReceiveBufferSize() {
    return GetIntegerOption(SOL_SOCKET, SO_RCVBUF);
}

bool c_SocketWrapper::DisableSendBuffering() {
    return SetIntegerOption(SOL_SOCKET, SO_SNDBUF, 0);
}

bool c_SocketWrapper::SetReceiveBufferSize(std::int32_t bytes) {
    return SetIntegerOption(SOL_SOCKET, SO_RCVBUF, bytes);
}

std::optional<std::int32_t> c_SocketWrapper::GetMaxMessageSize() {
    return GetIntegerOption(SOL_SOCKET, SO_MAX_MSG_SIZE);
}

bool c_SocketWrapper::SetNoDelay() {
    return SetIntegerOption(IPPROTO_TCP, TCP_NODELAY, 1);
}

bool c_SocketWrapper::SetReuseAddress() {
    return SetIntegerOption(SOL_SOCKET, SO_REUSEADDR, 1);
}

bool c_SocketWrapper::SetMembership(int name, std::uint32_t group, std::uint32_t interfaceAddress) {
    ip_mreq membership{};
    membership.imr_multiaddr.s_addr = htonl(group);
    membership.imr_interface.s_addr = htonl(interfaceAddress);
    return setsockopt(m_Handle, IPPROTO_IP, name, reinterpret_cast<const char*>(&membership), sizeof membership) !=
           SOCKET_ERROR;
}

bool c_SocketWrapper::JoinMulticastGroup(std::uint32_t group, std::uint32_t interfaceAddress) {
    return SetMembership(IP_ADD_MEMBERSHIP, group, interfaceAddress);
}

bool c_SocketWrapper::LeaveMulticastGroup(std::uint32_t group, std::uint32_t interfaceAddress) {
    return SetMembership(IP_DROP_MEMBERSHIP, group, interfaceAddress);
}

bool c_SocketWrapper::Bind(std::uint16_t port, std::uint32_t address) {
    const sockaddr_in local = MakeSockAddrIPv4(address, port);
    return bind(m_Handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) != SOCKET_ERROR;
}

bool c_SocketWrapper::Listen(int backlog) {
    return listen(m_Handle, backlog) != SOCKET_ERROR;
}

s_AcceptResult c_SocketWrapper::Accept() {
    sockaddr_in6 peer{};
    int length = sizeof peer;
    s_AcceptResult result;
    const SOCKET accepted = accept(m_Handle, reinterpret_cast<sockaddr*>(&peer), &length);
    if (accepted == INVALID_SOCKET) {
        return result;
    }
    result.m_Socket.m_Handle = accepted;
    result.m_Ok = true;
    const std::optional<s_IPv4Endpoint> endpoint = ParseSockAddrIPv4(reinterpret_cast<const sockaddr*>(&peer), length);
    result.m_PeerAddress = endpoint ? endpoint->m_Address : 0;
    return result;
}

bool c_SocketWrapper::Connect(std::uint32_t address, std::uint16_t port) {
    const sockaddr_in remote = MakeSockAddrIPv4(address, port);
    return connect(m_Handle, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != SOCKET_ERROR;
}

std::optional<s_IPv4Endpoint> c_SocketWrapper::GetLocalAddress() {
    sockaddr_in6 local{};
    int length = sizeof local;
    if (getsockname(m_Handle, reinterpret_cast<sockaddr*>(&local), &length) == SOCKET_ERROR) {
        return std::nullopt;
    }
    return ParseSockAddrIPv4(reinterpret_cast<const sockaddr*>(&local), length);
}

std::optional<std::int32_t> c_SocketWrapper::SendTo(std::uint32_t address, std::uint16_t port, s_ByteSpan bytes) {
    const sockaddr_in remote = MakeSockAddrIPv4(address, port);
    const int sent = sendto(m_Handle, static_cast<const char*>(bytes.m_p_Data), static_cast<int>(bytes.m_Size), 0,
                            reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
    if (sent == SOCKET_ERROR) {
        return std::nullopt;
    }
    return sent;
}

std::optional<s_ByteSpan> c_SocketWrapper::ReceiveFrom(s_ByteSpan capacity, std::uint32_t* address,
                                                       std::uint16_t* port) {
    const bool wantSender = address != nullptr || port != nullptr;
    sockaddr_in6 sender{};
    int length = sizeof sender;
    char* buffer = static_cast<char*>(const_cast<void*>(capacity.m_p_Data));
    const int received =
        recvfrom(m_Handle, buffer, static_cast<int>(capacity.m_Size), 0,
                 wantSender ? reinterpret_cast<sockaddr*>(&sender) : nullptr, wantSender ? &length : nullptr);
    if (received == SOCKET_ERROR) {
        return std::nullopt;
    }
    const std::optional<s_IPv4Endpoint> endpoint =
        wantSender ? ParseSockAddrIPv4(reinterpret_cast<const sockaddr*>(&sender), length) : std::nullopt;
    if (endpoint && address != nullptr) {
        *address = endpoint->m_Address;
    }
    if (endpoint && port != nullptr) {
        *port = endpoint->m_Port;
    }
    return s_ByteSpan::FromPointer(capacity.m_p_Data, static_cast<std::uint64_t>(received));
}

bool c_SocketWrapper::Shutdown(std::int32_t how) {
    return shutdown(m_Handle, how) != SOCKET_ERROR;
}

bool c_SocketWrapper::EventSelect(HANDLE event, std::int32_t networkEvents) {
    return WSAEventSelect(m_Handle, event, networkEvents) != SOCKET_ERROR;
}

bool c_SocketWrapper::EnumNetworkEvents(HANDLE event, WSANETWORKEVENTS& events) {
    events = WSANETWORKEVENTS{};
    return WSAEnumNetworkEvents(m_Handle, event, &events) != SOCKET_ERROR;
}

bool c_SocketWrapper::AsyncSelect(HWND window, std::uint32_t message, std::int32_t events) {
    return ::AsyncSelect(m_Handle, window, message, events) != SOCKET_ERROR;
}

HANDLE c_SocketWrapper::AssociateWithCompletionPort(HANDLE port) {
    return CreateIoCompletionPort(reinterpret_cast<HANDLE>(m_Handle), port, COMPLETION_KEY_SOCKET_IO, 0);
}

bool c_SocketWrapper::CancelIO() {
    return CancelIo(reinterpret_cast<HANDLE>(m_Handle)) != FALSE;
}

int AsyncSelect(SOCKET socket, HWND window, std::uint32_t message, std::int32_t events) {
    return WSAAsyncSelect(socket, window, message, events);
}
