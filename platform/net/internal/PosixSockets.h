#pragma once
// The system side of the sockets: each call of the layer's Winsock surface that needs the system
// goes through here, with neutral types, so the Winsock and the system declarations never meet in
// one file. Addresses are passed in their Winsock layout; results are >= 0, or -errno.

#include <cstddef>
#include <cstdint>

namespace n_PosixSockets {

// The most spans that one send or receive takes.
constexpr int MAX_SPANS = 64;

struct s_Span {
    void* m_p_Data;
    std::size_t m_Length;
};

int CreateSocket(int family, int type, int protocol);
int Close(int fd);
int Bind(int fd, const void* address, int length);
int Listen(int fd, int backlog);
// The new descriptor; the peer's address in Winsock layout when address is not null.
int Accept(int fd, void* address, int* length);
int Connect(int fd, const void* address, int length);
// Abandons a connect in progress.
int AbortConnect(int fd);
int GetLocalAddress(int fd, void* address, int* length);
int Shutdown(int fd, int how);
int SetNonBlocking(int fd, bool nonBlocking);
int GetBytesAvailable(int fd);
// The socket's pending error (0 for none), cleared by the reading.
int TakePendingError(int fd);
// True once a stream socket's connect has finished: it has a peer.
bool HasPeer(int fd);
bool HasWaitingConnection(int fd);

// Never raises a signal. dontWait: return -EAGAIN instead of blocking. to may be null.
long Send(int fd, const s_Span* spans, int count, const void* to, int toLength, bool dontWait);
// from may be null; fromLength is in and out.
long Receive(int fd, const s_Span* spans, int count, void* from, int* fromLength, bool dontWait);

// Linux gives a group's datagrams only to sockets bound to the any address or to the group: a
// datagram socket bound to one unicast address is replaced, under the same descriptor, by one bound
// to the group on the same port (with the same address reuse and blocking mode). membership is an
// 8-byte ip_mreq. 1 when the socket was replaced, 0 when it needed not be, or -errno.
int BindToGroupPort(int fd, const void* membership);

// Options by their Winsock level and name, values in Winsock layout; -ENOPROTOOPT for the others.
int SetOption(int fd, int level, int name, const void* value, int length);
int GetOption(int fd, int level, int name, void* value, int* length);

// Waits until one of the descriptors is readable (writable where forWrite[i] is set), up to timeoutMs
// (-1: no limit). ready[i] tells which; the result is how many, or -errno.
int WaitReady(const int* fds, const unsigned char* forWrite, std::size_t count, unsigned char* ready, int timeoutMs);

// 1 with the address written, 0 for a malformed text, -EAFNOSUPPORT. Winsock family numbers.
int ParseAddress(int family, const char* text, void* address);

int GetHostName(char* name, std::size_t length);

} // namespace n_PosixSockets
