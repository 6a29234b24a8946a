#pragma once
// c_SocketSet: the program's 64-entry socket set, and n_OSLayer::SelectRead over it.

#include "network/c_SocketWrapper.h"

#include <winsock2.h>

#include <cstdint>

class c_SocketSet {
public:
    c_SocketSet() = default;

    // Ignores a 0 handle, a handle already present and a full set.
    void Add(const c_SocketWrapper& socket);
    // Closes the gap, keeping the order.
    void Remove(const c_SocketWrapper& socket);
    bool Contains(const c_SocketWrapper& socket);
    std::uint32_t GetCount() const { return m_Set.fd_count; }
    bool IsEmpty() const { return m_Set.fd_count == 0; }
    fd_set& GetSet() { return m_Set; }

private:
    fd_set m_Set{};
};

namespace n_OSLayer {

// select with the set as the read set; for an empty set, sleeps for the time-out and returns 0.
std::int32_t SelectRead(c_SocketSet& set, std::int64_t timeoutMicroseconds);

} // namespace n_OSLayer
