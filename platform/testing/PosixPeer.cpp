// Test helper: the loopback peer over the system's socket calls.

#include "platform/testing/PosixPeer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace n_PosixPeer {

namespace {

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool WaitUntilReadable(int fd, int timeoutMilliseconds) {
    pollfd entry = {fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMilliseconds) == 1;
}

} // namespace

int Listen(std::uint16_t* port, int backlog) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, backlog) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

int BindDatagram(std::uint16_t* port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

bool SendDatagram(int fd, std::uint16_t port, const void* data, std::size_t length) {
    const sockaddr_in address = Loopback(port);
    return ::sendto(fd, data, length, 0, reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
           static_cast<long>(length);
}

bool SendMulticastDatagram(int fd, std::uint32_t group, std::uint16_t port, const void* data, std::size_t length) {
    in_addr loopback{};
    loopback.s_addr = htonl(INADDR_LOOPBACK);
    sockaddr_in address = Loopback(port);
    address.sin_addr.s_addr = htonl(group);
    return ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &loopback, sizeof loopback) == 0 &&
           ::sendto(fd, data, length, 0, reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
               static_cast<long>(length);
}

long ReceiveDatagram(int fd, void* buffer, std::size_t length, std::uint16_t* fromPort) {
    sockaddr_in sender{};
    socklen_t size = sizeof sender;
    const long received = ::recvfrom(fd, buffer, length, 0, reinterpret_cast<sockaddr*>(&sender), &size);
    *fromPort = ntohs(sender.sin_port);
    return received;
}

int Connect(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool SetReceiveBufferSize(int fd, int bytes) {
    return ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes) == 0;
}

int Accept(int listener) {
    return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}

bool WaitForPendingConnection(int listener, int timeoutMilliseconds) {
    return WaitUntilReadable(listener, timeoutMilliseconds);
}

bool WaitForDatagram(int fd, int timeoutMilliseconds) {
    return WaitUntilReadable(fd, timeoutMilliseconds);
}

std::uint16_t FindClosedPort() {
    std::uint16_t port = 0;
    ::close(Listen(&port, 1));
    return port;
}

bool SendAll(int fd, const void* data, std::size_t length) {
    const char* bytes = static_cast<const char*>(data);
    while (length > 0) {
        const ssize_t sent = ::send(fd, bytes, length, MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes += sent;
        length -= std::size_t(sent);
    }
    return true;
}

bool ReceiveAll(int fd, void* buffer, std::size_t length) {
    char* bytes = static_cast<char*>(buffer);
    while (length > 0) {
        const ssize_t received = ::recv(fd, bytes, length, 0);
        if (received <= 0) {
            return false;
        }
        bytes += received;
        length -= std::size_t(received);
    }
    return true;
}

long ReceiveSome(int fd, void* buffer, std::size_t length) {
    return long(::recv(fd, buffer, length, 0));
}

void ShutdownSending(int fd) {
    ::shutdown(fd, SHUT_WR);
}

void CloseWithReset(int fd) {
    const linger abort{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    ::close(fd);
}

void Close(int fd) {
    ::close(fd);
}

int ReadUntilEnd(int fd) {
    char buffer[4096];
    for (;;) {
        const ssize_t received = ::recv(fd, buffer, sizeof buffer, 0);
        if (received == 0) {
            return 0;
        }
        if (received < 0) {
            return errno;
        }
    }
}

} // namespace n_PosixPeer
