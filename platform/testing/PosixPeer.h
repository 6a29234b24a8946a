#pragma once
// Test helper: the far side of a loopback connection, written with the system's own socket calls,
// so the layer's sockets are tested against a peer that does not go through the layer.

#include <cstddef>
#include <cstdint>

namespace n_PosixPeer {

// A listener on 127.0.0.1 with an ephemeral port, written to port.
int Listen(std::uint16_t* port, int backlog);
// A blocking connect to 127.0.0.1:port; -1 on failure.
int Connect(std::uint16_t port);
int Accept(int listener);
// A fixed receive buffer (the kernel's tuning off); on a listener it holds for what it accepts.
bool SetReceiveBufferSize(int fd, int bytes);
// Waits (real time, at most timeoutMilliseconds) until the listener holds a connection to accept.
bool WaitForPendingConnection(int listener, int timeoutMilliseconds);
// A port on 127.0.0.1 where nothing listens.
std::uint16_t FindClosedPort();

// A datagram socket bound to 127.0.0.1 with an ephemeral port, written to port.
int BindDatagram(std::uint16_t* port);
bool SendDatagram(int fd, std::uint16_t port, const void* data, std::size_t length);
// To a multicast group (host order), out through the loopback interface.
bool SendMulticastDatagram(int fd, std::uint32_t group, std::uint16_t port, const void* data, std::size_t length);
// Waits (real time, at most timeoutMilliseconds) until a datagram is there to receive.
bool WaitForDatagram(int fd, int timeoutMilliseconds);
// One blocking datagram receive: its length (-1 on failure) and the sender's port.
long ReceiveDatagram(int fd, void* buffer, std::size_t length, std::uint16_t* fromPort);

bool SendAll(int fd, const void* data, std::size_t length);
bool ReceiveAll(int fd, void* buffer, std::size_t length);
// One blocking recv: the bytes received, 0 at the end, -1 on failure.
long ReceiveSome(int fd, void* buffer, std::size_t length);
// Sends the orderly close (FIN).
void ShutdownSending(int fd);
// Closes with a reset (RST).
void CloseWithReset(int fd);
void Close(int fd);
// Reads until the stream ends: 0 for the orderly close, else the errno that ended it.
int ReadUntilEnd(int fd);

} // namespace n_PosixPeer
