// setsockopt and getsockopt, with the rules that keep Windows' behaviour where the system's differs.

#include "platform/kernel/LastError.h"
#include "platform/net/Reactor.h"
#include "platform/net/SocketTable.h"
#include "platform/net/WinsockErrors.h"
#include "platform/net/internal/PosixSockets.h"

#include <ws2tcpip.h>

#include <cstring>

namespace {

// The largest IPv4 UDP payload: 65535 less the IP and UDP headers.
constexpr int MAX_UDP_MESSAGE = 65507;

bool IsBufferSize(int level, int name) {
    return level == SOL_SOCKET && (name == SO_SNDBUF || name == SO_RCVBUF);
}

int& RememberedBufferSize(n_Platform::c_Socket& socket, int name) {
    return name == SO_SNDBUF ? socket.m_SendBufferSize : socket.m_ReceiveBufferSize;
}

int SetBufferSize(n_Platform::c_Socket& socket, int name, int size) {
    // A size of 0 would shrink the system's buffers to a few KiB and throughput collapses.
    if (size == 0) {
        return 0;
    }
    const int result = n_PosixSockets::SetOption(socket.m_Fd, SOL_SOCKET, name, &size, sizeof size);
    if (result < 0) {
        return n_Platform::FailWithSocketResult(SOCKET_ERROR, result);
    }
    std::lock_guard<std::mutex> lock(socket.m_Lock);
    RememberedBufferSize(socket, name) = size;
    return 0;
}

// A join on a datagram socket bound to one address first moves it to the group's port, where Linux
// delivers the group's datagrams; the join itself goes through the interface of the ip_mreq.
int JoinGroup(n_Platform::c_Socket& socket, const char* value, int length) {
    if (length < int(sizeof(ip_mreq))) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEFAULT);
    }
    std::lock_guard<std::mutex> lock(socket.m_Lock);
    const int moved = n_PosixSockets::BindToGroupPort(socket.m_Fd, value);
    if (moved < 0) {
        return n_Platform::FailWithSocketResult(SOCKET_ERROR, moved);
    }
    // The replaced descriptor left the reactor with its socket; the new one takes its place.
    if (moved > 0 && !n_Platform::WatchSocket(socket.m_Fd, socket.m_Id, socket.m_Interest)) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAENOBUFS);
    }
    if (moved > 0 && socket.m_ReceiveBufferSize != 0) {
        n_PosixSockets::SetOption(socket.m_Fd, SOL_SOCKET, SO_RCVBUF, &socket.m_ReceiveBufferSize, sizeof(int));
    }
    const int result =
        n_PosixSockets::SetOption(socket.m_Fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, value, int(sizeof(ip_mreq)));
    return result < 0 ? n_Platform::FailWithSocketResult(SOCKET_ERROR, result) : 0;
}

int ReturnInteger(int value, char* out, int* length) {
    std::memcpy(out, &value, sizeof value);
    *length = sizeof value;
    return 0;
}

// The options whose value the layer gives itself; false for those the system answers.
bool GetOwnOption(n_Platform::c_Socket& socket, int level, int name, char* value, int* length, int& result) {
    if (level != SOL_SOCKET) {
        return false;
    }
    if (name == SO_MAX_MSG_SIZE) {
        result = socket.m_Type == SOCK_DGRAM ? ReturnInteger(MAX_UDP_MESSAGE, value, length)
                                             : n_Platform::FailWith(SOCKET_ERROR, WSAENOPROTOOPT);
        return true;
    }
    if (name == SO_ERROR) {
        const int error = n_PosixSockets::TakePendingError(socket.m_Fd);
        result = ReturnInteger(int(n_Platform::WinsockErrorFromErrno(error)), value, length);
        return true;
    }
    if (name == SO_TYPE) {
        result = ReturnInteger(socket.m_Type, value, length);
        return true;
    }
    if (IsBufferSize(level, name)) {
        std::lock_guard<std::mutex> lock(socket.m_Lock);
        const int remembered = RememberedBufferSize(socket, name);
        if (remembered != 0) {
            result = ReturnInteger(remembered, value, length);
            return true;
        }
    }
    return false;
}

} // namespace

int WINAPI setsockopt(SOCKET handle, int level, int name, const char* value, int length) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    if (value == nullptr || length < int(sizeof(int))) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEFAULT);
    }
    if (IsBufferSize(level, name)) {
        int size;
        std::memcpy(&size, value, sizeof size);
        return SetBufferSize(*socket, name, size);
    }
    // Either value keeps the graceful close: "don't linger" is the default, and its clearing means
    // lingering while queued data leaves, which the system's close does by itself.
    if (level == SOL_SOCKET && name == SO_DONTLINGER) {
        return 0;
    }
    if (level == IPPROTO_IP && name == IP_ADD_MEMBERSHIP && socket->m_Type == SOCK_DGRAM) {
        return JoinGroup(*socket, value, length);
    }
    const int result = n_PosixSockets::SetOption(socket->m_Fd, level, name, value, length);
    return result < 0 ? n_Platform::FailWithSocketResult(SOCKET_ERROR, result) : 0;
}

int WINAPI getsockopt(SOCKET handle, int level, int name, char* value, int* length) {
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    if (value == nullptr || length == nullptr || *length < int(sizeof(int))) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEFAULT);
    }
    int own = 0;
    if (GetOwnOption(*socket, level, name, value, length, own)) {
        return own;
    }
    const int result = n_PosixSockets::GetOption(socket->m_Fd, level, name, value, length);
    return result < 0 ? n_Platform::FailWithSocketResult(SOCKET_ERROR, result) : 0;
}
