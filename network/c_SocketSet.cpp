// c_SocketSet and n_OSLayer::SelectRead.

#include "network/c_SocketSet.h"

#include <algorithm>

namespace {

constexpr std::int64_t MICROSECONDS_PER_SECOND = 1000000;
constexpr std::int64_t MICROSECONDS_PER_MILLISECOND = 1000;

} // namespace

void c_SocketSet::Add(const c_SocketWrapper& socket) {
    const SOCKET handle = socket.GetHandle();
    if (handle == 0 || m_Set.fd_count >= FD_SETSIZE || FD_ISSET(handle, &m_Set)) {
        return;
    }
    m_Set.fd_array[m_Set.fd_count++] = handle;
}

void c_SocketSet::Remove(const c_SocketWrapper& socket) {
    FD_CLR(socket.GetHandle(), &m_Set);
}

bool c_SocketSet::Contains(const c_SocketWrapper& socket) {
    return socket.GetHandle() != 0 && FD_ISSET(socket.GetHandle(), &m_Set);
}

namespace n_OSLayer {

std::int32_t SelectRead(c_SocketSet& set, std::int64_t timeoutMicroseconds) {
    if (set.IsEmpty()) {
        if (timeoutMicroseconds > 0) {
            Sleep(static_cast<DWORD>(timeoutMicroseconds / MICROSECONDS_PER_MILLISECOND));
        }
        return 0;
    }
    // As for an empty set, a time-out below 0 waits not at all.
    timeoutMicroseconds = std::max<std::int64_t>(timeoutMicroseconds, 0);
    timeval timeout{};
    timeout.tv_sec = timeoutMicroseconds / MICROSECONDS_PER_SECOND;
    timeout.tv_usec = timeoutMicroseconds % MICROSECONDS_PER_SECOND;
    return select(0, &set.GetSet(), nullptr, nullptr, &timeout);
}

} // namespace n_OSLayer
