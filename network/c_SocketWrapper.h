#pragma once
// c_SocketWrapper: the owner of one Winsock SOCKET, with each socket call the program makes as a
// small operation on host-order IPv4 addresses and ports.
//
// 0 and INVALID_SOCKET both mean that it holds no socket, so it never closes twice and never closes
// handle 0. It is moved, never copied. Argument orders follow the program: Bind takes the port
// first, Connect and SendTo the address first. Failures are false or an empty optional; the caller
// reads WSAGetLastError.

#include "strings/c_String.h"
#include "strings/s_ByteSpan.h"

#include <winsock2.h>

#include <cstdint>
#include <optional>

constexpr ULONG_PTR COMPLETION_KEY_SOCKET_IO = 1100005;

struct s_IPv4Endpoint {
    std::uint32_t m_Address = 0;
    std::uint16_t m_Port = 0;
};

class c_SocketWrapper;

struct s_AcceptResult;

class c_SocketWrapper {
public:
    c_SocketWrapper() = default;
    c_SocketWrapper(c_SocketWrapper&& other) noexcept;
    c_SocketWrapper& operator=(c_SocketWrapper&& other) noexcept;
    c_SocketWrapper(const c_SocketWrapper&) = delete;
    c_SocketWrapper& operator=(const c_SocketWrapper&) = delete;
    virtual ~c_SocketWrapper();

    bool Close();
    bool operator==(SOCKET handle) const { return m_Handle == handle; }
    bool operator!=(SOCKET handle) const { return m_Handle != handle; }
    bool IsValid() const { return m_Handle != 0; }
    SOCKET GetHandle() const { return m_Handle; }
    c_String ToString() const;

    bool CreateTCP();
    bool CreateUDP();
    bool SetNonBlocking();
    std::optional<std::int32_t> GetReceiveBytesAvailable();
    bool ClearDontLinger();
    std::optional<std::int32_t> GetSendBufferSize();
    std::optional<std::int32_t> GetReceiveBufferSize();
    bool DisableSendBuffering();
    bool SetReceiveBufferSize(std::int32_t bytes);
    std::optional<std::int32_t> GetMaxMessageSize();
    bool SetNoDelay();
    bool SetReuseAddress();
    bool JoinMulticastGroup(std::uint32_t group, std::uint32_t interfaceAddress);
    bool LeaveMulticastGroup(std::uint32_t group, std::uint32_t interfaceAddress);
    bool Bind(std::uint16_t port, std::uint32_t address);
    bool Listen(int backlog = SOMAXCONN_HINT(200));
    s_AcceptResult Accept();
    bool Connect(std::uint32_t address, std::uint16_t port);
    std::optional<s_IPv4Endpoint> GetLocalAddress();
    std::optional<std::int32_t> SendTo(std::uint32_t address, std::uint16_t port, s_ByteSpan bytes);
    // The span's bytes are the caller's buffer, written by the receive.
    std::optional<s_ByteSpan> ReceiveFrom(s_ByteSpan capacity, std::uint32_t* address, std::uint16_t* port);
    bool Shutdown(std::int32_t how);
    bool EventSelect(HANDLE event, std::int32_t networkEvents);
    bool EnumNetworkEvents(HANDLE event, WSANETWORKEVENTS& events);
    bool AsyncSelect(HWND window, std::uint32_t message, std::int32_t events);
    HANDLE AssociateWithCompletionPort(HANDLE port);
    bool CancelIO();

private:
    bool Create(int type, int protocol);
    std::optional<std::int32_t> GetIntegerOption(int level, int name);
    bool SetIntegerOption(int level, int name, int value);
    bool SetMembership(int name, std::uint32_t group, std::uint32_t interfaceAddress);

    SOCKET m_Handle = 0;
};

struct s_AcceptResult {
    c_SocketWrapper m_Socket;
    std::uint32_t m_PeerAddress = 0;
    bool m_Ok = false;
};

// WSAAsyncSelect's raw result.
int AsyncSelect(SOCKET socket, HWND window, std::uint32_t message, std::int32_t events);
