// The plain socket calls: socket, bind, listen, accept, connect, getsockname, sendto, recvfrom,
// shutdown, closesocket, ioctlsocket, and CancelIo.

#include "platform/kernel/Clock.h"
#include "platform/kernel/LastError.h"
#include "platform/net/Reactor.h"
#include "platform/net/SocketOperations.h"
#include "platform/net/WinsockErrors.h"
#include "platform/net/internal/PosixSockets.h"

#include <cerrno>

namespace {

constexpr std::uint32_t CONNECT_DEADLINE_MS = 21000;

// Results of a non-blocking connect that Windows reports later through FD_CONNECT.
bool IsLaterConnectResult(int result) {
    return result == -ECONNREFUSED || result == -ETIMEDOUT || result == -ENETUNREACH || result == -EHOSTUNREACH;
}

bool IsAnyAddress(const sockaddr* address, int length) {
    if (length < int(sizeof(sockaddr_in)) || address->sa_family != AF_INET) {
        return false;
    }
    return reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr == INADDR_ANY;
}

int ConnectNonBlocking(n_Platform::c_Socket& socket, const sockaddr* address, int length) {
    // Windows reports every outcome of a non-blocking connect later, through FD_CONNECT.
    const int result = n_PosixSockets::Connect(socket.m_Fd, address, length);
    if (result == 0 || IsLaterConnectResult(result)) {
        n_Platform::FinishConnect(socket, n_Platform::WinsockErrorFromErrno(-result));
        return n_Platform::FailWith(SOCKET_ERROR, WSAEWOULDBLOCK);
    }
    if (result != -EINPROGRESS) {
        return n_Platform::FailWithSocketResult(SOCKET_ERROR, result);
    }
    socket.m_Connecting = true;
    n_Platform::UpdateInterest(socket);
    n_Platform::SetSocketDeadline(socket.m_Id, n_Platform::DeadlineAfterMilliseconds(CONNECT_DEADLINE_MS));
    return n_Platform::FailWith(SOCKET_ERROR, WSAEWOULDBLOCK);
}

// An accepted socket takes the listening socket's mode and event selection, as on Windows.
SOCKET AdoptAccepted(n_Platform::c_Socket& listener, int fd) {
    if (listener.m_NonBlocking) {
        n_PosixSockets::SetNonBlocking(fd, true);
    }
    const SOCKET accepted = n_Platform::InsertSocket(fd, listener.m_Family, SOCK_STREAM);
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::FindSocket(accepted);
    if (socket == nullptr) {
        return INVALID_SOCKET;
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    socket->m_Connected = true;
    socket->m_NonBlocking = listener.m_NonBlocking;
    socket->m_Selection = listener.m_Selection;
    socket->m_Selection.m_Recorded = WSANETWORKEVENTS{};
    return accepted;
}

} // namespace

SOCKET WINAPI socket(int family, int type, int protocol) {
    if (!n_Platform::CheckStarted()) {
        return INVALID_SOCKET;
    }
    if (family != AF_INET && family != AF_INET6) {
        return n_Platform::FailWith(INVALID_SOCKET, WSAEAFNOSUPPORT);
    }
    const int fd = n_PosixSockets::CreateSocket(family, type, protocol);
    if (fd < 0) {
        return n_Platform::FailWithSocketResult(INVALID_SOCKET, fd);
    }
    return n_Platform::InsertSocket(fd, family, type);
}

int WINAPI bind(SOCKET handle, const sockaddr* address, int length) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    const int result = n_PosixSockets::Bind(socket->m_Fd, address, length);
    return result < 0 ? n_Platform::FailWithSocketResult(SOCKET_ERROR, result) : 0;
}

int WINAPI listen(SOCKET handle, int backlog) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    // SOMAXCONN_HINT(n) is -n: a backlog of n.
    const int result = n_PosixSockets::Listen(socket->m_Fd, backlog < 0 ? -backlog : backlog);
    if (result < 0) {
        return n_Platform::FailWithSocketResult(SOCKET_ERROR, result);
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    socket->m_Listening = true;
    return 0;
}

SOCKET WINAPI accept(SOCKET handle, sockaddr* address, int* length) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return INVALID_SOCKET;
    }
    const int fd = n_PosixSockets::Accept(socket->m_Fd, address, length);
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    socket->m_AcceptRecordable = true;
    n_Platform::RecordWaitingConnection(*socket);
    if (fd < 0) {
        return n_Platform::FailWithSocketResult(INVALID_SOCKET, fd);
    }
    return AdoptAccepted(*socket, fd);
}

int WINAPI connect(SOCKET handle, const sockaddr* address, int length) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    if (address == nullptr) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEFAULT);
    }
    if (IsAnyAddress(address, length)) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEADDRNOTAVAIL);
    }
    std::unique_lock<std::mutex> lock(socket->m_Lock);
    if (socket->m_NonBlocking) {
        return ConnectNonBlocking(*socket, address, length);
    }
    lock.unlock();
    const int result = n_PosixSockets::Connect(socket->m_Fd, address, length);
    if (result < 0) {
        return n_Platform::FailWithSocketResult(SOCKET_ERROR, result);
    }
    lock.lock();
    socket->m_Connected = true;
    return 0;
}

int WINAPI getsockname(SOCKET handle, sockaddr* address, int* length) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    if (address == nullptr || length == nullptr) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEFAULT);
    }
    const int result = n_PosixSockets::GetLocalAddress(socket->m_Fd, address, length);
    return result < 0 ? n_Platform::FailWithSocketResult(SOCKET_ERROR, result) : 0;
}

int WINAPI sendto(SOCKET handle, const char* data, int length, int, const sockaddr* to, int toLength) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    const n_PosixSockets::s_Span span{const_cast<char*>(data), std::size_t(length < 0 ? 0 : length)};
    const long sent = n_PosixSockets::Send(socket->m_Fd, &span, 1, to, toLength, false);
    return sent < 0 ? n_Platform::FailWithSocketResult(SOCKET_ERROR, sent) : int(sent);
}

int WINAPI recvfrom(SOCKET handle, char* buffer, int length, int, sockaddr* from, int* fromLength) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    const n_PosixSockets::s_Span span{buffer, std::size_t(length < 0 ? 0 : length)};
    const long received = n_PosixSockets::Receive(socket->m_Fd, &span, 1, from, fromLength, false);
    return received < 0 ? n_Platform::FailWithSocketResult(SOCKET_ERROR, received) : int(received);
}

int WINAPI shutdown(SOCKET handle, int how) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    const int result = n_PosixSockets::Shutdown(socket->m_Fd, how);
    if (result < 0) {
        return n_Platform::FailWithSocketResult(SOCKET_ERROR, result);
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    socket->m_SendShut = socket->m_SendShut || how == SD_SEND || how == SD_BOTH;
    return 0;
}

int WINAPI closesocket(SOCKET handle) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::RemoveSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    socket->m_Closed = true;
    n_Platform::CompleteAllPending(*socket, ERROR_OPERATION_ABORTED);
    if (socket->m_Connecting) {
        n_Platform::SetSocketDeadline(socket->m_Id, n_Platform::NO_DEADLINE);
    }
    n_Platform::UnwatchSocket(socket->m_Fd);
    n_PosixSockets::Close(socket->m_Fd);
    return 0;
}

int WINAPI ioctlsocket(SOCKET handle, LONG command, u_long* argument) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    if (argument == nullptr) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEFAULT);
    }
    if (command == FIONREAD) {
        const int available = n_PosixSockets::GetBytesAvailable(socket->m_Fd);
        if (available < 0) {
            return n_Platform::FailWithSocketResult(SOCKET_ERROR, available);
        }
        *argument = u_long(available);
        return 0;
    }
    if (command != FIONBIO) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEINVAL);
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    // Event select keeps a socket non-blocking.
    if (*argument == 0 && socket->m_Selection.m_Events != 0) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEINVAL);
    }
    const int result = n_PosixSockets::SetNonBlocking(socket->m_Fd, *argument != 0);
    if (result < 0) {
        return n_Platform::FailWithSocketResult(SOCKET_ERROR, result);
    }
    socket->m_NonBlocking = *argument != 0;
    return 0;
}

BOOL WINAPI CancelIo(HANDLE file) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::FindSocket(reinterpret_cast<SOCKET>(file));
    if (socket == nullptr) {
        return n_Platform::LookupHandle(file) != nullptr ? TRUE : FALSE;
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    n_Platform::CompleteAllPending(*socket, ERROR_OPERATION_ABORTED);
    return TRUE;
}
