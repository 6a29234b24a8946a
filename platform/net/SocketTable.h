#pragma once
// The checked socket table: every SOCKET is an entry here, found by its value.
//
// Values are never reused while the process runs, and they never match a kernel handle (those are
// multiples of 4; sockets are 2 more), so a stale or made-up SOCKET fails with WSAENOTSOCK.

#include "platform/net/CompletionPort.h"
#include "platform/net/Reactor.h"

#include <winsock2.h>

#include <deque>
#include <memory>
#include <mutex>

namespace n_Platform {

// One overlapped operation waiting for the socket. The buffers are copied: the caller's array
// may be gone once the call has returned, only the bytes must stay.
struct s_PendingIo {
    static constexpr DWORD MAX_BUFFERS = 16;

    LPWSAOVERLAPPED m_p_Overlapped = nullptr;
    WSABUF m_Buffers[MAX_BUFFERS];
    DWORD m_Count = 0;
    // Bytes already sent of a send.
    DWORD m_Done = 0;
    // A send's destination, when it has one.
    sockaddr_in6 m_To{};
    int m_ToLength = 0;
    // Where a receive writes its sender.
    sockaddr* m_p_From = nullptr;
    LPINT m_p_FromLength = nullptr;

    DWORD GetTotalLength() const {
        DWORD total = 0;
        for (DWORD i = 0; i < m_Count; ++i) {
            total += m_Buffers[i].len;
        }
        return total;
    }
};

// The records of event select, and where they are reported.
struct s_EventSelection {
    LONG m_Events = 0;
    HANDLE m_Event = nullptr;
    HWND m_Window = nullptr;
    UINT m_Message = 0;
    WSANETWORKEVENTS m_Recorded{};
};

class c_Socket {
public:
    c_Socket(int fd, int family, int type) : m_Fd(fd), m_Family(family), m_Type(type) {}

    std::mutex m_Lock;
    SOCKET m_Id = INVALID_SOCKET;
    const int m_Fd;
    const int m_Family;
    const int m_Type;
    bool m_Closed = false;
    bool m_NonBlocking = false;
    std::shared_ptr<c_CompletionPort> m_p_Port;
    ULONG_PTR m_Key = 0;
    std::deque<s_PendingIo> m_Receives;
    // The pending receives wait for a thread of the port to fill them (see SocketReadiness).
    bool m_ReceivesHandedToPort = false;
    // What the reactor reports of the socket besides its close and failures (see UpdateInterest).
    unsigned m_Interest = READY_READ;
    std::deque<s_PendingIo> m_Sends;
    // Once the stream has ended, every later receive completes with this status (0 for the peer's
    // orderly close).
    bool m_ReceiveEnded = false;
    DWORD m_ReceiveEndStatus = 0;
    bool m_SendShut = false;
    bool m_Connecting = false;
    bool m_Connected = false;
    bool m_CloseRecorded = false;
    bool m_Listening = false;
    // FD_ACCEPT is recorded once until the next accept.
    bool m_AcceptRecordable = true;
    s_EventSelection m_Selection;
    // The sizes the program set, reported back as it set them; 0: the system's own.
    int m_SendBufferSize = 0;
    int m_ReceiveBufferSize = 0;
};

// Fails with WSANOTINITIALISED while Winsock is not started.
bool CheckStarted();

// Takes over fd (closing it when the table cannot) and returns the new SOCKET, or INVALID_SOCKET.
SOCKET InsertSocket(int fd, int family, int type);

// The socket, or null with WSANOTSOCK (WSANOTINITIALISED while Winsock is not started).
std::shared_ptr<c_Socket> LookupSocket(SOCKET socket);

// The same without touching the last error: for the reactor, whose sockets may be gone.
std::shared_ptr<c_Socket> FindSocket(SOCKET socket);

// Takes the socket out of the table; null with WSANOTSOCK.
std::shared_ptr<c_Socket> RemoveSocket(SOCKET socket);

// Under the socket's lock: queues the operation's completion (or signals its event when the socket
// has no port). The operation is not touched afterwards.
void CompleteIo(c_Socket& socket, const s_PendingIo& io, DWORD bytes, DWORD status);

// Under the socket's lock: completes every pending operation with status.
void CompleteAllPending(c_Socket& socket, DWORD status);

} // namespace n_Platform
