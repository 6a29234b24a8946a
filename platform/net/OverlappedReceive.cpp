// Overlapped receives: WSARecv and WSARecvFrom, and their progress when the socket becomes readable.

#include "platform/kernel/LastError.h"
#include "platform/net/SocketOperations.h"
#include "platform/net/WinsockErrors.h"
#include "platform/net/internal/PosixSockets.h"

#include <algorithm>
#include <cerrno>

namespace n_Platform {

namespace {

long TryReceive(const c_Socket& socket, const s_PendingIo& io) {
    n_PosixSockets::s_Span spans[s_PendingIo::MAX_BUFFERS];
    for (DWORD i = 0; i < io.m_Count; ++i) {
        spans[i] = {io.m_Buffers[i].buf, io.m_Buffers[i].len};
    }
    return n_PosixSockets::Receive(socket.m_Fd, spans, int(io.m_Count), io.m_p_From, io.m_p_FromLength, true);
}

// Stream receives with room for data and no sender to report can share one system call.
bool CanShareReceive(const c_Socket& socket, const s_PendingIo& io) {
    return socket.m_Type == SOCK_STREAM && io.m_p_From == nullptr && io.GetTotalLength() > 0;
}

// Receives into the pending receives at the front of the queue at once, as many as can share the
// call: one system call fills several posted buffers, in the order posted.
long ReceiveIntoPending(const c_Socket& socket) {
    const s_PendingIo& first = socket.m_Receives.front();
    if (!CanShareReceive(socket, first)) {
        return TryReceive(socket, first);
    }
    n_PosixSockets::s_Span spans[n_PosixSockets::MAX_SPANS];
    int count = 0;
    for (const s_PendingIo& io : socket.m_Receives) {
        if (!CanShareReceive(socket, io) || count + int(io.m_Count) > n_PosixSockets::MAX_SPANS) {
            break;
        }
        for (DWORD i = 0; i < io.m_Count; ++i) {
            spans[count++] = {io.m_Buffers[i].buf, io.m_Buffers[i].len};
        }
    }
    return n_PosixSockets::Receive(socket.m_Fd, spans, count, nullptr, nullptr, true);
}

// Completes, in order, the pending receives that received bytes reached; the last one completes with
// what it got, as a stream receive does.
void CompleteFilled(c_Socket& socket, DWORD received) {
    do {
        const s_PendingIo io = socket.m_Receives.front();
        socket.m_Receives.pop_front();
        const DWORD filled = std::min(received, io.GetTotalLength());
        CompleteIo(socket, io, filled, 0);
        received -= filled;
    } while (received > 0);
}

// A zero-byte result of a stream receive with room for data is the peer's orderly close.
bool IsStreamEnd(const c_Socket& socket, const s_PendingIo& io, long received) {
    return received == 0 && socket.m_Type == SOCK_STREAM && io.GetTotalLength() > 0;
}

// Completes io, no longer queued, with a receive's result other than would-block.
void FinishReceive(c_Socket& socket, const s_PendingIo& io, long received) {
    if (received < 0) {
        const DWORD error = WinsockErrorFromErrno(int(-received));
        CompleteIo(socket, io, 0, error);
        if (socket.m_Type == SOCK_STREAM) {
            EndReceiving(socket, error);
        }
        return;
    }
    CompleteIo(socket, io, DWORD(received), 0);
    if (IsStreamEnd(socket, io, received)) {
        EndReceiving(socket, 0);
    }
}

int Receive(SOCKET handle, LPWSABUF buffers, DWORD count, LPDWORD received, LPDWORD flags, sockaddr* from,
            LPINT fromLength, LPWSAOVERLAPPED overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE routine) {
    if (!CheckOverlappedCall(count, overlapped, routine)) {
        return SOCKET_ERROR;
    }
    std::shared_ptr<c_Socket> socket = LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    s_PendingIo io = MakePendingIo(buffers, count, overlapped);
    io.m_p_From = from;
    io.m_p_FromLength = fromLength;
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    if (!socket->m_Receives.empty()) {
        socket->m_Receives.push_back(io);
        return ReportPending();
    }
    if (socket->m_ReceiveEnded && socket->m_ReceiveEndStatus != 0) {
        return FailWith(SOCKET_ERROR, socket->m_ReceiveEndStatus);
    }
    const long result = socket->m_ReceiveEnded ? 0 : TryReceive(*socket, io);
    if (result == -EAGAIN) {
        socket->m_Receives.push_back(io);
        return ReportPending();
    }
    if (result < 0) {
        if (socket->m_Type == SOCK_STREAM) {
            EndReceiving(*socket, WinsockErrorFromErrno(int(-result)));
        }
        return FailWithSocketResult(SOCKET_ERROR, result);
    }
    FinishReceive(*socket, io, result);
    if (received != nullptr) {
        *received = DWORD(result);
    }
    if (flags != nullptr) {
        *flags = 0;
    }
    return 0;
}

} // namespace

void ProgressReceives(c_Socket& socket) {
    while (!socket.m_Receives.empty() && !socket.m_ReceiveEnded) {
        const long result = ReceiveIntoPending(socket);
        if (result == -EAGAIN) {
            return;
        }
        if (result > 0) {
            CompleteFilled(socket, DWORD(result));
            continue;
        }
        const s_PendingIo io = socket.m_Receives.front();
        socket.m_Receives.pop_front();
        FinishReceive(socket, io, result);
    }
}

void EndReceiving(c_Socket& socket, DWORD status) {
    if (!socket.m_ReceiveEnded) {
        socket.m_ReceiveEnded = true;
        socket.m_ReceiveEndStatus = status;
    }
    for (const s_PendingIo& io : socket.m_Receives) {
        CompleteIo(socket, io, 0, socket.m_ReceiveEndStatus);
    }
    socket.m_Receives.clear();
}

} // namespace n_Platform

int WINAPI WSARecv(SOCKET socket, LPWSABUF buffers, DWORD count, LPDWORD received, LPDWORD flags,
                   LPWSAOVERLAPPED overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE routine) {
    return n_Platform::Receive(socket, buffers, count, received, flags, nullptr, nullptr, overlapped, routine);
}

int WINAPI WSARecvFrom(SOCKET socket, LPWSABUF buffers, DWORD count, LPDWORD received, LPDWORD flags, sockaddr* from,
                       LPINT fromLength, LPWSAOVERLAPPED overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE routine) {
    return n_Platform::Receive(socket, buffers, count, received, flags, from, fromLength, overlapped, routine);
}
