#pragma once
// Winsock 2 as the program uses it: sockets, addresses, options, select, event select and the
// overlapped sends and receives that complete on completion ports (win32/completion.h).
//
// Sockets are checked entries of one table: a closed or made-up SOCKET fails with WSAENOTSOCK, and
// socket values are never reused while the process runs, so a late completion or event never
// reaches another socket. Every call sets the WSA error number (WSAGetLastError, also GetLastError)
// and FormatMessageW has its English text. Writing to a socket whose peer has gone fails with an
// error; it never raises a signal. Calls made while Winsock is not started fail with
// WSANOTINITIALISED.

#include <windows.h>

// The C run-time's own select, fd_set, u_long and gethostname come first, so that the Winsock forms
// below stand beside them: fd_set, u_long (32 bits here) and gethostname are renamed, select is an
// overload on the Winsock set.
#include <sys/select.h>
#include <sys/types.h>
#include <unistd.h>

typedef unsigned char u_char;
typedef unsigned short u_short;
typedef unsigned int u_int;
typedef std::uint32_t WinsockULong;
#define u_long WinsockULong
typedef UINT_PTR SOCKET;
typedef int* LPINT;
typedef char CHAR;

#define INVALID_SOCKET (static_cast<SOCKET>(~static_cast<SOCKET>(0)))
#define SOCKET_ERROR (-1)

#define AF_UNSPEC 0
#define AF_INET 2
#define AF_INET6 23
#define PF_INET AF_INET
#define SOCK_STREAM 1
#define SOCK_DGRAM 2
#define IPPROTO_IP 0
#define IPPROTO_TCP 6
#define IPPROTO_UDP 17

#define INADDR_ANY static_cast<u_long>(0x00000000)
#define INADDR_LOOPBACK 0x7f000001
#define INADDR_NONE 0xffffffff

#define SOMAXCONN 0x7fffffff
#define SOMAXCONN_HINT(b) (-(b))

#define SD_RECEIVE 0x00
#define SD_SEND 0x01
#define SD_BOTH 0x02

#define FIONBIO static_cast<LONG>(0x8004667Eu)
#define FIONREAD static_cast<LONG>(0x4004667Fu)

#define SOL_SOCKET 0xffff
#define SO_REUSEADDR 0x0004
#define SO_KEEPALIVE 0x0008
#define SO_BROADCAST 0x0020
#define SO_LINGER 0x0080
#define SO_DONTLINGER static_cast<int>(~SO_LINGER)
#define SO_SNDBUF 0x1001
#define SO_RCVBUF 0x1002
#define SO_ERROR 0x1007
#define SO_TYPE 0x1008
#define SO_MAX_MSG_SIZE 0x2003
#define TCP_NODELAY 0x0001

// A zero send or receive buffer size is accepted and not applied: the system keeps its own sizes.
// SO_DONTLINGER 0 keeps the graceful close; it never turns a close into a reset.

#define FD_READ 0x01
#define FD_WRITE 0x02
#define FD_OOB 0x04
#define FD_ACCEPT 0x08
#define FD_CONNECT 0x10
#define FD_CLOSE 0x20
#define FD_READ_BIT 0
#define FD_WRITE_BIT 1
#define FD_OOB_BIT 2
#define FD_ACCEPT_BIT 3
#define FD_CONNECT_BIT 4
#define FD_CLOSE_BIT 5
#define FD_MAX_EVENTS 10

#define WSA_IO_PENDING ERROR_IO_PENDING
#define WSA_OPERATION_ABORTED ERROR_OPERATION_ABORTED
#define WSAEINTR 10004
#define WSAEBADF 10009
#define WSAEACCES 10013
#define WSAEFAULT 10014
#define WSAEINVAL 10022
#define WSAEMFILE 10024
#define WSAEWOULDBLOCK 10035
#define WSAEINPROGRESS 10036
#define WSAEALREADY 10037
#define WSAENOTSOCK 10038
#define WSAEDESTADDRREQ 10039
#define WSAEMSGSIZE 10040
#define WSAEPROTOTYPE 10041
#define WSAENOPROTOOPT 10042
#define WSAEPROTONOSUPPORT 10043
#define WSAESOCKTNOSUPPORT 10044
#define WSAEOPNOTSUPP 10045
#define WSAEPFNOSUPPORT 10046
#define WSAEAFNOSUPPORT 10047
#define WSAEADDRINUSE 10048
#define WSAEADDRNOTAVAIL 10049
#define WSAENETDOWN 10050
#define WSAENETUNREACH 10051
#define WSAENETRESET 10052
#define WSAECONNABORTED 10053
#define WSAECONNRESET 10054
#define WSAENOBUFS 10055
#define WSAEISCONN 10056
#define WSAENOTCONN 10057
#define WSAESHUTDOWN 10058
#define WSAETIMEDOUT 10060
#define WSAECONNREFUSED 10061
#define WSAEHOSTDOWN 10064
#define WSAEHOSTUNREACH 10065
#define WSASYSNOTREADY 10091
#define WSAVERNOTSUPPORTED 10092
#define WSANOTINITIALISED 10093
#define WSATYPE_NOT_FOUND 10109
#define WSAHOST_NOT_FOUND 11001
#define WSATRY_AGAIN 11002
#define WSANO_RECOVERY 11003
#define WSANO_DATA 11004

#define MAKEWORD(low, high) static_cast<WORD>((static_cast<WORD>(low) & 0xff) | ((static_cast<WORD>(high) & 0xff) << 8))
#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

struct WSADATA {
    WORD wVersion;
    WORD wHighVersion;
    unsigned short iMaxSockets;
    unsigned short iMaxUdpDg;
    char* lpVendorInfo;
    char szDescription[WSADESCRIPTION_LEN + 1];
    char szSystemStatus[WSASYS_STATUS_LEN + 1];
};
typedef WSADATA* LPWSADATA;

struct in_addr {
    union {
        struct {
            u_char s_b1, s_b2, s_b3, s_b4;
        } S_un_b;
        struct {
            u_short s_w1, s_w2;
        } S_un_w;
        u_long S_addr;
    } S_un;
};
#define s_addr S_un.S_addr
typedef in_addr IN_ADDR;

struct sockaddr {
    u_short sa_family;
    char sa_data[14];
};
typedef sockaddr SOCKADDR;

struct sockaddr_in {
    short sin_family;
    u_short sin_port;
    in_addr sin_addr;
    char sin_zero[8];
};
typedef sockaddr_in SOCKADDR_IN;

struct in6_addr {
    u_char s6_addr[16];
};

struct sockaddr_in6 {
    short sin6_family;
    u_short sin6_port;
    u_long sin6_flowinfo;
    in6_addr sin6_addr;
    u_long sin6_scope_id;
};

struct linger {
    u_short l_onoff;
    u_short l_linger;
};

struct WSABUF {
    u_long len;
    CHAR* buf;
};
typedef WSABUF* LPWSABUF;

struct WSANETWORKEVENTS {
    LONG lNetworkEvents;
    int iErrorCode[FD_MAX_EVENTS];
};
typedef WSANETWORKEVENTS* LPWSANETWORKEVENTS;

// WSAAsyncSelect's lParam: the event in the low word, the error in the high word.
#define WSAMAKESELECTREPLY(event, error) static_cast<LPARAM>(static_cast<DWORD>(((error) << 16) | (event)))
#define WSAGETSELECTEVENT(lParam) static_cast<WORD>(static_cast<DWORD>(lParam) & 0xffff)
#define WSAGETSELECTERROR(lParam) static_cast<WORD>((static_cast<DWORD>(lParam) >> 16) & 0xffff)

typedef OVERLAPPED WSAOVERLAPPED;
typedef OVERLAPPED* LPWSAOVERLAPPED;
// Completion routines need asynchronous procedure calls, which do not exist here: an operation
// that names one fails with WSAEOPNOTSUPP.
typedef void(CALLBACK* LPWSAOVERLAPPED_COMPLETION_ROUTINE)(DWORD error, DWORD bytes, LPWSAOVERLAPPED overlapped,
                                                           DWORD flags);

// The program's socket set: a count and room for 64 sockets.
#undef FD_SETSIZE
#undef FD_SET
#undef FD_CLR
#undef FD_ISSET
#undef FD_ZERO
#define FD_SETSIZE 64
#define fd_set WinsockFdSet
struct WinsockFdSet {
    u_int fd_count;
    SOCKET fd_array[FD_SETSIZE];
};

static_assert(sizeof(sockaddr) == 16, "sockaddr is 16 bytes");
static_assert(sizeof(sockaddr_in) == 16, "sockaddr_in is 16 bytes");
static_assert(sizeof(sockaddr_in6) == 28, "sockaddr_in6 is 28 bytes");
static_assert(sizeof(WSABUF) == 16, "WSABUF is 16 bytes");
static_assert(sizeof(WSANETWORKEVENTS) == 44, "WSANETWORKEVENTS is 44 bytes");
static_assert(sizeof(fd_set) == 520, "fd_set is 520 bytes");

int WINAPI __WSAFDIsSet(SOCKET socket, fd_set* set);
#define FD_ISSET(fd, set) __WSAFDIsSet(static_cast<SOCKET>(fd), reinterpret_cast<fd_set*>(set))
#define FD_ZERO(set) (reinterpret_cast<fd_set*>(set)->fd_count = 0)
#define FD_CLR(fd, set) WinsockFdClear(static_cast<SOCKET>(fd), reinterpret_cast<fd_set*>(set))
#define FD_SET(fd, set) WinsockFdAdd(static_cast<SOCKET>(fd), reinterpret_cast<fd_set*>(set))
void WinsockFdClear(SOCKET socket, fd_set* set);
void WinsockFdAdd(SOCKET socket, fd_set* set);

inline u_short htons(u_short value) {
    return static_cast<u_short>((value << 8) | (value >> 8));
}
inline u_short ntohs(u_short value) {
    return htons(value);
}
inline u_long htonl(u_long value) {
    return __builtin_bswap32(value);
}
inline u_long ntohl(u_long value) {
    return htonl(value);
}

// Counted: every successful WSAStartup needs one WSACleanup. Version 2.2 and above are served as 2.2.
int WINAPI WSAStartup(WORD version, LPWSADATA data);
int WINAPI WSACleanup();
int WINAPI WSAGetLastError();
void WINAPI WSASetLastError(int error);

SOCKET WINAPI socket(int family, int type, int protocol);
int WINAPI bind(SOCKET socket, const sockaddr* address, int length);
int WINAPI listen(SOCKET socket, int backlog);
SOCKET WINAPI accept(SOCKET socket, sockaddr* address, int* length);
// A connect to 0.0.0.0 fails with WSAEADDRNOTAVAIL. On a non-blocking socket a connect that has not
// completed after 21 s (on the layer's clock) is given up and reported with WSAETIMEDOUT.
int WINAPI connect(SOCKET socket, const sockaddr* address, int length);
int WINAPI getsockname(SOCKET socket, sockaddr* address, int* length);
int WINAPI sendto(SOCKET socket, const char* data, int length, int flags, const sockaddr* to, int toLength);
int WINAPI recvfrom(SOCKET socket, char* buffer, int length, int flags, sockaddr* from, int* fromLength);
int WINAPI shutdown(SOCKET socket, int how);
// Completes the socket's pending overlapped operations with ERROR_OPERATION_ABORTED first.
int WINAPI closesocket(SOCKET socket);
int WINAPI ioctlsocket(SOCKET socket, LONG command, u_long* argument);
int WINAPI setsockopt(SOCKET socket, int level, int name, const char* value, int length);
int WINAPI getsockopt(SOCKET socket, int level, int name, char* value, int* length);
// The first argument is ignored, as on Windows. The time-out is real time.
int WINAPI select(int ignored, fd_set* read, fd_set* write, fd_set* except, const timeval* timeout);
#define gethostname WinsockGetHostName
int WINAPI gethostname(char* name, int length);

// Overlapped sends and receives. Each operation completes exactly once: at once (result 0, and the
// packet is still queued to the port), or later (SOCKET_ERROR with WSA_IO_PENDING). Sends complete
// whole and in order; receives are filled in the order they were posted. The peer's orderly close
// completes every pending receive with 0 bytes; a failure completes them with 0 bytes and the error
// as the packet's status. A buffer is never touched once its completion has been queued.
int WINAPI WSASend(SOCKET socket, LPWSABUF buffers, DWORD count, LPDWORD sent, DWORD flags, LPWSAOVERLAPPED overlapped,
                   LPWSAOVERLAPPED_COMPLETION_ROUTINE routine);
int WINAPI WSASendTo(SOCKET socket, LPWSABUF buffers, DWORD count, LPDWORD sent, DWORD flags, const sockaddr* to,
                     int toLength, LPWSAOVERLAPPED overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE routine);
int WINAPI WSARecv(SOCKET socket, LPWSABUF buffers, DWORD count, LPDWORD received, LPDWORD flags,
                   LPWSAOVERLAPPED overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE routine);
// The sender's address is written when the operation completes.
int WINAPI WSARecvFrom(SOCKET socket, LPWSABUF buffers, DWORD count, LPDWORD received, LPDWORD flags, sockaddr* from,
                       LPINT fromLength, LPWSAOVERLAPPED overlapped, LPWSAOVERLAPPED_COMPLETION_ROUTINE routine);

// Event select: FD_CONNECT, FD_CLOSE and FD_ACCEPT are recorded with their error codes and signal the
// event (or post the message). FD_ACCEPT is recorded again after an accept while connections wait.
// Both calls make the socket non-blocking.
int WINAPI WSAEventSelect(SOCKET socket, HANDLE event, LONG events);
int WINAPI WSAEnumNetworkEvents(SOCKET socket, HANDLE event, LPWSANETWORKEVENTS events);
int WINAPI WSAAsyncSelect(SOCKET socket, HWND window, u_int message, LONG events);
