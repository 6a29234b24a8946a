// Overlapped sends: WSASend and WSASendTo, and their progress when the socket becomes writable.

#include "platform/kernel/LastError.h"
#include "platform/net/SocketOperations.h"
#include "platform/net/WinsockErrors.h"
#include "platform/net/internal/PosixSockets.h"

#include <cerrno>
#include <cstring>

namespace n_Platform {

namespace {

// Sends what is left of io after the bytes already sent.
long TrySend(c_Socket& socket, const s_PendingIo& io) {
    n_PosixSockets::s_Span spans[s_PendingIo::MAX_BUFFERS];
    int count = 0;
    DWORD skip = io.m_Done;
    for (DWORD i = 0; i < io.m_Count; ++i) {
        const WSABUF& buffer = io.m_Buffers[i];
        if (skip >= buffer.len) {
            skip -= buffer.len;
            continue;
        }
        spans[count++] = {buffer.buf + skip, buffer.len - skip};
        skip = 0;
    }
    const void* to = io.m_ToLength > 0 ? &io.m_To : nullptr;
    return n_PosixSockets::Send(socket.m_Fd, spans, count, to, io.m_ToLength, true);
}

// A failed send fails every send after it too: they could not arrive in order.
void FailSends(c_Socket& socket, DWORD error) {
    for (const s_PendingIo& io : socket.m_Sends) {
        CompleteIo(socket, io, 0, error);
    }
    socket.m_Sends.clear();
}

// The send waits for the socket to become writable.
int QueueSend(c_Socket& socket, const s_PendingIo& io) {
    socket.m_Sends.push_back(io);
    UpdateInterest(socket);
    return ReportPending();
}

int Send(SOCKET handle, LPWSABUF buffers, DWORD count, LPDWORD sent, const sockaddr* to, int toLength,
         LPWSAOVERLAPPED overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE routine) {
    if (!CheckOverlappedCall(count, overlapped, routine)) {
        return SOCKET_ERROR;
    }
    if (to != nullptr && (toLength < int(sizeof(sockaddr_in)) || toLength > int(sizeof(sockaddr_in6)))) {
        return FailWith(SOCKET_ERROR, WSAEFAULT);
    }
    std::shared_ptr<c_Socket> socket = LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    s_PendingIo io = MakePendingIo(buffers, count, overlapped);
    if (to != nullptr) {
        std::memcpy(&io.m_To, to, std::size_t(toLength));
        io.m_ToLength = toLength;
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    if (socket->m_SendShut) {
        return FailWith(SOCKET_ERROR, WSAESHUTDOWN);
    }
    if (!socket->m_Sends.empty()) {
        return QueueSend(*socket, io);
    }
    const long result = TrySend(*socket, io);
    if (result == -EAGAIN) {
        return QueueSend(*socket, io);
    }
    if (result < 0) {
        return FailWithSocketResult(SOCKET_ERROR, result);
    }
    io.m_Done = DWORD(result);
    if (io.m_Done < io.GetTotalLength()) {
        return QueueSend(*socket, io);
    }
    CompleteIo(*socket, io, io.m_Done, 0);
    if (sent != nullptr) {
        *sent = io.m_Done;
    }
    return 0;
}

} // namespace

void ProgressSends(c_Socket& socket) {
    while (!socket.m_Sends.empty()) {
        s_PendingIo& io = socket.m_Sends.front();
        const long result = TrySend(socket, io);
        if (result == -EAGAIN) {
            return;
        }
        if (result < 0) {
            FailSends(socket, WinsockErrorFromErrno(int(-result)));
            return;
        }
        io.m_Done += DWORD(result);
        if (io.m_Done == io.GetTotalLength()) {
            const s_PendingIo done = io;
            socket.m_Sends.pop_front();
            CompleteIo(socket, done, done.m_Done, 0);
        }
    }
}

bool CheckOverlappedCall(DWORD count, LPWSAOVERLAPPED overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE routine) {
    if (routine != nullptr) {
        return FailWith(false, WSAEOPNOTSUPP);
    }
    if (overlapped == nullptr || count == 0) {
        return FailWith(false, WSAEINVAL);
    }
    return count <= s_PendingIo::MAX_BUFFERS || FailWith(false, WSAENOBUFS);
}

s_PendingIo MakePendingIo(LPWSABUF buffers, DWORD count, LPWSAOVERLAPPED overlapped) {
    s_PendingIo io;
    io.m_p_Overlapped = overlapped;
    io.m_Count = count;
    std::memcpy(io.m_Buffers, buffers, count * sizeof(WSABUF));
    overlapped->Internal = WSA_IO_PENDING;
    overlapped->InternalHigh = 0;
    return io;
}

int ReportPending() {
    return FailWith(SOCKET_ERROR, WSA_IO_PENDING);
}

} // namespace n_Platform

int WINAPI WSASend(SOCKET socket, LPWSABUF buffers, DWORD count, LPDWORD sent, DWORD, LPWSAOVERLAPPED overlapped,
                   LPWSAOVERLAPPED_COMPLETION_ROUTINE routine) {
    return n_Platform::Send(socket, buffers, count, sent, nullptr, 0, overlapped, routine);
}

int WINAPI WSASendTo(SOCKET socket, LPWSABUF buffers, DWORD count, LPDWORD sent, DWORD, const sockaddr* to,
                     int toLength, LPWSAOVERLAPPED overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE routine) {
    return n_Platform::Send(socket, buffers, count, sent, to, toLength, overlapped, routine);
}
