#pragma once
// The reactor: one thread that waits until watched sockets can make progress, and until their
// connect deadlines (on the layer's clock) pass, and hands each to the socket side.
//
// Sockets are named by their never-reused SOCKET values, so a readiness that arrives after a socket
// was closed names nothing and is dropped.

#include <cstdint>

namespace n_Platform {

enum e_Readiness : unsigned {
    READY_NONE = 0,
    READY_READ = 1,
    READY_WRITE = 2,
    // The peer's orderly close was seen.
    READY_PEER_CLOSED = 4,
    // The socket has a pending error, or both directions are closed.
    READY_FAILED = 8,
};

// Every change of readiness is reported once (edge-triggered): the socket side works until the
// system says it would block. interest: READY_READ and READY_WRITE, what the socket side waits for
// now; the peer's close and failures are always reported.
bool WatchSocket(int fd, std::uint64_t socket, unsigned interest);
void UnwatchSocket(int fd);
// Changes the interest of a watched socket; readiness it adds that is there already is reported at
// once.
void ChangeSocketInterest(int fd, std::uint64_t socket, unsigned interest);

// deadline: a reading of ReadClockNanoseconds; NO_DEADLINE removes it.
void SetSocketDeadline(std::uint64_t socket, std::int64_t deadline);

// Implemented by the socket side; called on the reactor's thread.
void OnSocketReady(std::uint64_t socket, unsigned readiness);
void OnSocketDeadline(std::uint64_t socket);

} // namespace n_Platform
