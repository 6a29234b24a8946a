// The system side of the sockets over the POSIX socket calls.

#include "platform/net/internal/PosixSockets.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace n_PosixSockets {

namespace {

constexpr int WINSOCK_AF_INET6 = 23;
constexpr int WINSOCK_SOL_SOCKET = 0xffff;
constexpr int WINSOCK_IPPROTO_TCP = 6;
constexpr int WINSOCK_IPPROTO_IP = 0;

struct s_OptionName {
    int m_WinsockLevel;
    int m_WinsockName;
    int m_Level;
    int m_Name;
};

constexpr s_OptionName OPTION_NAMES[] = {
    {WINSOCK_SOL_SOCKET, 0x0004, SOL_SOCKET, SO_REUSEADDR},  {WINSOCK_SOL_SOCKET, 0x0008, SOL_SOCKET, SO_KEEPALIVE},
    {WINSOCK_SOL_SOCKET, 0x0020, SOL_SOCKET, SO_BROADCAST},  {WINSOCK_SOL_SOCKET, 0x1001, SOL_SOCKET, SO_SNDBUF},
    {WINSOCK_SOL_SOCKET, 0x1002, SOL_SOCKET, SO_RCVBUF},     {WINSOCK_SOL_SOCKET, 0x1008, SOL_SOCKET, SO_TYPE},
    {WINSOCK_IPPROTO_TCP, 0x0001, IPPROTO_TCP, TCP_NODELAY}, {WINSOCK_IPPROTO_IP, 9, IPPROTO_IP, IP_MULTICAST_IF},
    {WINSOCK_IPPROTO_IP, 10, IPPROTO_IP, IP_MULTICAST_TTL},  {WINSOCK_IPPROTO_IP, 11, IPPROTO_IP, IP_MULTICAST_LOOP},
    {WINSOCK_IPPROTO_IP, 12, IPPROTO_IP, IP_ADD_MEMBERSHIP}, {WINSOCK_IPPROTO_IP, 13, IPPROTO_IP, IP_DROP_MEMBERSHIP},
};

const s_OptionName* FindOption(int level, int name) {
    for (const s_OptionName& option : OPTION_NAMES) {
        if (option.m_WinsockLevel == level && option.m_WinsockName == name) {
            return &option;
        }
    }
    return nullptr;
}

int Result(int value) {
    return value < 0 ? -errno : value;
}

// Winsock addresses share the system's layout except for the family number.
socklen_t ToSystemAddress(const void* address, int length, sockaddr_storage& out) {
    if (address == nullptr || length < 2 || length > int(sizeof out)) {
        return 0;
    }
    std::memset(&out, 0, sizeof out);
    std::memcpy(&out, address, std::size_t(length));
    if (out.ss_family == WINSOCK_AF_INET6) {
        out.ss_family = AF_INET6;
    }
    return socklen_t(length);
}

void FromSystemAddress(const sockaddr_storage& address, socklen_t length, void* out, int* outLength) {
    if (out == nullptr || outLength == nullptr) {
        return;
    }
    sockaddr_storage copy = address;
    if (copy.ss_family == AF_INET6) {
        copy.ss_family = WINSOCK_AF_INET6;
    }
    const int size = std::min(*outLength, int(length));
    std::memcpy(out, &copy, std::size_t(size > 0 ? size : 0));
    *outLength = int(length);
}

int SystemFamily(int family) {
    return family == WINSOCK_AF_INET6 ? AF_INET6 : family;
}

msghdr MakeMessage(const s_Span* spans, int count, iovec* vectors) {
    msghdr message{};
    for (int i = 0; i < count; ++i) {
        vectors[i] = {spans[i].m_p_Data, spans[i].m_Length};
    }
    message.msg_iov = vectors;
    message.msg_iovlen = std::size_t(count);
    return message;
}

} // namespace

int CreateSocket(int family, int type, int protocol) {
    return Result(::socket(SystemFamily(family), type | SOCK_CLOEXEC, protocol));
}

int Close(int fd) {
    return Result(::close(fd));
}

int Bind(int fd, const void* address, int length) {
    sockaddr_storage system;
    const socklen_t size = ToSystemAddress(address, length, system);
    if (size == 0) {
        return -EFAULT;
    }
    return Result(::bind(fd, reinterpret_cast<sockaddr*>(&system), size));
}

int Listen(int fd, int backlog) {
    return Result(::listen(fd, backlog));
}

int Accept(int fd, void* address, int* length) {
    sockaddr_storage peer{};
    socklen_t size = sizeof peer;
    const int accepted = ::accept4(fd, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC);
    if (accepted < 0) {
        return -errno;
    }
    FromSystemAddress(peer, size, address, length);
    return accepted;
}

int Connect(int fd, const void* address, int length) {
    sockaddr_storage system;
    const socklen_t size = ToSystemAddress(address, length, system);
    if (size == 0) {
        return -EFAULT;
    }
    return Result(::connect(fd, reinterpret_cast<sockaddr*>(&system), size));
}

int AbortConnect(int fd) {
    sockaddr none{};
    none.sa_family = AF_UNSPEC;
    return Result(::connect(fd, &none, sizeof none));
}

int GetLocalAddress(int fd, void* address, int* length) {
    sockaddr_storage local{};
    socklen_t size = sizeof local;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) < 0) {
        return -errno;
    }
    FromSystemAddress(local, size, address, length);
    return 0;
}

namespace {

bool NeedsGroupBinding(const sockaddr_in& local) {
    const std::uint32_t address = ntohl(local.sin_addr.s_addr);
    return local.sin_family == AF_INET && address != INADDR_ANY && !IN_MULTICAST(address);
}

// Opens a datagram socket like fd, bound to local; the descriptor or -errno.
int OpenLike(int fd, const sockaddr_in& local) {
    const int opened = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (opened < 0) {
        return -errno;
    }
    int reuse = 0;
    socklen_t size = sizeof reuse;
    const bool copied = ::getsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, &size) == 0 &&
                        ::setsockopt(opened, SOL_SOCKET, SO_REUSEADDR, &reuse, size) == 0 &&
                        ::fcntl(opened, F_SETFL, ::fcntl(fd, F_GETFL)) == 0 &&
                        ::bind(opened, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
    if (!copied) {
        const int error = errno;
        ::close(opened);
        return -error;
    }
    return opened;
}

} // namespace

int BindToGroupPort(int fd, const void* membership) {
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) < 0) {
        return -errno;
    }
    if (!NeedsGroupBinding(local)) {
        return 0;
    }
    ip_mreq request;
    std::memcpy(&request, membership, sizeof request);
    local.sin_addr = request.imr_multiaddr;
    const int replacement = OpenLike(fd, local);
    if (replacement < 0) {
        return replacement;
    }
    const int result = ::dup3(replacement, fd, O_CLOEXEC) < 0 ? -errno : 1;
    ::close(replacement);
    return result;
}

int Shutdown(int fd, int how) {
    return Result(::shutdown(fd, how));
}

int SetNonBlocking(int fd, bool nonBlocking) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0) {
        return -errno;
    }
    return Result(::fcntl(fd, F_SETFL, nonBlocking ? flags | O_NONBLOCK : flags & ~O_NONBLOCK));
}

int GetBytesAvailable(int fd) {
    int available = 0;
    if (::ioctl(fd, FIONREAD, &available) < 0) {
        return -errno;
    }
    return available;
}

bool HasPeer(int fd) {
    sockaddr_storage peer;
    socklen_t size = sizeof peer;
    return ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &size) == 0;
}

int TakePendingError(int fd) {
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) < 0) {
        return errno;
    }
    return error;
}

bool HasWaitingConnection(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN) != 0;
}

long Send(int fd, const s_Span* spans, int count, const void* to, int toLength, bool dontWait) {
    if (count > MAX_SPANS) {
        return -ENOBUFS;
    }
    iovec vectors[MAX_SPANS];
    msghdr message = MakeMessage(spans, count, vectors);
    sockaddr_storage destination;
    if (to != nullptr) {
        message.msg_namelen = ToSystemAddress(to, toLength, destination);
        message.msg_name = &destination;
        if (message.msg_namelen == 0) {
            return -EFAULT;
        }
    }
    const ssize_t sent = ::sendmsg(fd, &message, MSG_NOSIGNAL | (dontWait ? MSG_DONTWAIT : 0));
    return sent < 0 ? -errno : long(sent);
}

long Receive(int fd, const s_Span* spans, int count, void* from, int* fromLength, bool dontWait) {
    if (count > MAX_SPANS) {
        return -ENOBUFS;
    }
    iovec vectors[MAX_SPANS];
    msghdr message = MakeMessage(spans, count, vectors);
    sockaddr_storage sender{};
    if (from != nullptr) {
        message.msg_name = &sender;
        message.msg_namelen = sizeof sender;
    }
    const ssize_t received = ::recvmsg(fd, &message, dontWait ? MSG_DONTWAIT : 0);
    if (received < 0) {
        return -errno;
    }
    if (from != nullptr) {
        FromSystemAddress(sender, message.msg_namelen, from, fromLength);
    }
    return long(received);
}

int SetOption(int fd, int level, int name, const void* value, int length) {
    const s_OptionName* option = FindOption(level, name);
    if (option == nullptr) {
        return -ENOPROTOOPT;
    }
    return Result(::setsockopt(fd, option->m_Level, option->m_Name, value, socklen_t(length)));
}

int GetOption(int fd, int level, int name, void* value, int* length) {
    const s_OptionName* option = FindOption(level, name);
    if (option == nullptr) {
        return -ENOPROTOOPT;
    }
    socklen_t size = socklen_t(*length);
    if (::getsockopt(fd, option->m_Level, option->m_Name, value, &size) < 0) {
        return -errno;
    }
    *length = int(size);
    return 0;
}

int WaitReady(const int* fds, const unsigned char* forWrite, std::size_t count, unsigned char* ready, int timeoutMs) {
    std::vector<pollfd> entries(count);
    for (std::size_t i = 0; i < count; ++i) {
        entries[i] = {fds[i], static_cast<short>(forWrite[i] != 0 ? POLLOUT : POLLIN), 0};
    }
    const int found = ::poll(entries.data(), entries.size(), timeoutMs);
    if (found < 0) {
        return -errno;
    }
    for (std::size_t i = 0; i < count; ++i) {
        ready[i] = entries[i].revents != 0 ? 1 : 0;
    }
    return found;
}

int ParseAddress(int family, const char* text, void* address) {
    if (family != AF_INET && family != WINSOCK_AF_INET6) {
        return -EAFNOSUPPORT;
    }
    return ::inet_pton(SystemFamily(family), text, address);
}

int GetHostName(char* name, std::size_t length) {
    return Result(::gethostname(name, length));
}

} // namespace n_PosixSockets
