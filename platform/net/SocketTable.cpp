// The socket table, and the completion of overlapped operations.

#include "platform/net/SocketTable.h"

#include "platform/kernel/LastError.h"
#include "platform/net/Reactor.h"
#include "platform/net/WinsockStartup.h"
#include "platform/net/internal/PosixSockets.h"

#include <shared_mutex>
#include <unordered_map>

namespace n_Platform {

namespace {

constexpr SOCKET FIRST_SOCKET = 0x102;
constexpr SOCKET SOCKET_STEP = 4;

class c_SocketTable {
public:
    SOCKET Insert(std::shared_ptr<c_Socket> socket) {
        std::unique_lock<std::shared_mutex> lock(m_Lock);
        const SOCKET id = m_Next;
        m_Next += SOCKET_STEP;
        socket->m_Id = id;
        m_Sockets.emplace(id, std::move(socket));
        return id;
    }

    std::shared_ptr<c_Socket> Find(SOCKET id) {
        std::shared_lock<std::shared_mutex> lock(m_Lock);
        const auto found = m_Sockets.find(id);
        return found == m_Sockets.end() ? nullptr : found->second;
    }

    std::shared_ptr<c_Socket> Remove(SOCKET id) {
        std::unique_lock<std::shared_mutex> lock(m_Lock);
        const auto found = m_Sockets.find(id);
        if (found == m_Sockets.end()) {
            return nullptr;
        }
        std::shared_ptr<c_Socket> socket = std::move(found->second);
        m_Sockets.erase(found);
        return socket;
    }

private:
    std::shared_mutex m_Lock;
    SOCKET m_Next = FIRST_SOCKET;
    std::unordered_map<SOCKET, std::shared_ptr<c_Socket>> m_Sockets;
};

// Never destroyed: the reactor may look sockets up while the process exits.
c_SocketTable& GetSocketTable() {
    static c_SocketTable* table = new c_SocketTable;
    return *table;
}

} // namespace

bool CheckStarted() {
    return IsWinsockStarted() || FailWith(false, WSANOTINITIALISED);
}

SOCKET InsertSocket(int fd, int family, int type) {
    auto socket = std::make_shared<c_Socket>(fd, family, type);
    const SOCKET id = GetSocketTable().Insert(socket);
    if (!WatchSocket(fd, id, socket->m_Interest)) {
        GetSocketTable().Remove(id);
        n_PosixSockets::Close(fd);
        return FailWith(INVALID_SOCKET, WSAENOBUFS);
    }
    return id;
}

std::shared_ptr<c_Socket> LookupSocket(SOCKET id) {
    if (!CheckStarted()) {
        return nullptr;
    }
    std::shared_ptr<c_Socket> socket = GetSocketTable().Find(id);
    if (socket == nullptr) {
        SetLastError(WSAENOTSOCK);
    }
    return socket;
}

std::shared_ptr<c_Socket> FindSocket(SOCKET id) {
    return GetSocketTable().Find(id);
}

std::shared_ptr<c_Socket> RemoveSocket(SOCKET id) {
    if (!CheckStarted()) {
        return nullptr;
    }
    std::shared_ptr<c_Socket> socket = GetSocketTable().Remove(id);
    if (socket == nullptr) {
        SetLastError(WSAENOTSOCK);
    }
    return socket;
}

void CompleteIo(c_Socket& socket, const s_PendingIo& io, DWORD bytes, DWORD status) {
    LPWSAOVERLAPPED overlapped = io.m_p_Overlapped;
    overlapped->Internal = status;
    overlapped->InternalHigh = bytes;
    if (socket.m_p_Port != nullptr) {
        socket.m_p_Port->Post({bytes, socket.m_Key, overlapped, status});
    } else if (overlapped->hEvent != nullptr) {
        SetEvent(overlapped->hEvent);
    }
}

void CompleteAllPending(c_Socket& socket, DWORD status) {
    for (std::deque<s_PendingIo>* queue : {&socket.m_Receives, &socket.m_Sends}) {
        for (const s_PendingIo& io : *queue) {
            CompleteIo(socket, io, 0, status);
        }
        queue->clear();
    }
}

} // namespace n_Platform
