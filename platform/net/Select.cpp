// select over the program's 64-entry socket sets, and the set helpers behind FD_SET and friends.

#include "platform/kernel/LastError.h"
#include "platform/net/SocketTable.h"
#include "platform/net/WinsockErrors.h"
#include "platform/net/internal/PosixSockets.h"

#include <vector>

namespace {

struct s_Watched {
    fd_set* m_p_Set;
    SOCKET m_Socket;
};

// Collects the sockets of a set; false when one is not a socket.
bool Collect(fd_set* set, bool forWrite, std::vector<s_Watched>& watched, std::vector<int>& fds,
             std::vector<unsigned char>& writes) {
    if (set == nullptr) {
        return true;
    }
    for (u_int i = 0; i < set->fd_count && i < FD_SETSIZE; ++i) {
        std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(set->fd_array[i]);
        if (socket == nullptr) {
            return false;
        }
        watched.push_back({set, set->fd_array[i]});
        fds.push_back(socket->m_Fd);
        writes.push_back(forWrite ? 1 : 0);
    }
    return true;
}

int ToMilliseconds(const timeval* timeout) {
    if (timeout == nullptr) {
        return -1;
    }
    return int(timeout->tv_sec * 1000 + (timeout->tv_usec + 999) / 1000);
}

} // namespace

void WinsockFdAdd(SOCKET socket, fd_set* set) {
    for (u_int i = 0; i < set->fd_count; ++i) {
        if (set->fd_array[i] == socket) {
            return;
        }
    }
    if (set->fd_count < FD_SETSIZE) {
        set->fd_array[set->fd_count++] = socket;
    }
}

void WinsockFdClear(SOCKET socket, fd_set* set) {
    u_int kept = 0;
    for (u_int i = 0; i < set->fd_count; ++i) {
        if (set->fd_array[i] != socket) {
            set->fd_array[kept++] = set->fd_array[i];
        }
    }
    set->fd_count = kept;
}

int WINAPI __WSAFDIsSet(SOCKET socket, fd_set* set) {
    for (u_int i = 0; i < set->fd_count && i < FD_SETSIZE; ++i) {
        if (set->fd_array[i] == socket) {
            return 1;
        }
    }
    return 0;
}

// The except set is accepted and comes back empty: out-of-band data is not used.
int WINAPI select(int, fd_set* read, fd_set* write, fd_set* except, const timeval* timeout) {
    if (!n_Platform::CheckStarted()) {
        return SOCKET_ERROR;
    }
    std::vector<s_Watched> watched;
    std::vector<int> fds;
    std::vector<unsigned char> writes;
    if (!Collect(read, false, watched, fds, writes) || !Collect(write, true, watched, fds, writes)) {
        return SOCKET_ERROR;
    }
    // A negative time-out is invalid, not a wait without end.
    if (watched.empty() || (timeout != nullptr && (timeout->tv_sec < 0 || timeout->tv_usec < 0))) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEINVAL);
    }
    std::vector<unsigned char> ready(fds.size());
    const int found =
        n_PosixSockets::WaitReady(fds.data(), writes.data(), fds.size(), ready.data(), ToMilliseconds(timeout));
    if (found < 0) {
        return n_Platform::FailWithSocketResult(SOCKET_ERROR, found);
    }
    for (fd_set* set : {read, write, except}) {
        if (set != nullptr) {
            FD_ZERO(set);
        }
    }
    for (std::size_t i = 0; i < watched.size(); ++i) {
        if (ready[i] != 0) {
            WinsockFdAdd(watched[i].m_Socket, watched[i].m_p_Set);
        }
    }
    return found;
}
