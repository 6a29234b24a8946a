// Tests of the plain socket calls and options: handles, start-up, the any address, buffer sizes,
// the graceful close, the message size, multicast on loopback, the error texts.

#include "platform/testing/LoopbackPair.h"
#include "platform/testing/PosixPeer.h"

#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SocketHandles, AreNotReusedAfterClose) {
    n_Platform::c_WinsockSession session;
    const SOCKET first = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_NE(first, INVALID_SOCKET);
    ASSERT_EQ(closesocket(first), 0);
    const SOCKET second = socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_NE(second, first);
    EXPECT_EQ(closesocket(first), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    closesocket(second);
}

TEST(SocketHandles, CallsBeforeStartupFailWith10093) {
    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}

TEST(SocketHandles, StartupIsCounted) {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    WSACleanup();
    const SOCKET stillUp = socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_NE(stillUp, INVALID_SOCKET);
    closesocket(stillUp);
    WSACleanup();
    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
}

TEST(Connect, ToTheAnyAddressFailsWith10049) {
    n_Platform::c_WinsockSession session;
    std::uint16_t port = 0;
    const int listener = n_PosixPeer::Listen(&port, 1);
    const SOCKET client = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = n_Platform::MakeLoopbackAddress(port);
    address.sin_addr.s_addr = INADDR_ANY;
    EXPECT_EQ(connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEADDRNOTAVAIL);
    closesocket(client);
    n_PosixPeer::Close(listener);
}

int GetIntegerOption(SOCKET socket, int name) {
    int value = -1;
    int length = sizeof value;
    getsockopt(socket, SOL_SOCKET, name, reinterpret_cast<char*>(&value), &length);
    return value;
}

TEST(BufferSizes, ZeroKeepsTheSystemsSizeAndOtherSizesApply) {
    n_Platform::c_WinsockSession session;
    for (const int name : {SO_SNDBUF, SO_RCVBUF}) {
        const SOCKET client = socket(AF_INET, SOCK_STREAM, 0);
        const int before = GetIntegerOption(client, name);
        const int zero = 0;
        EXPECT_EQ(setsockopt(client, SOL_SOCKET, name, reinterpret_cast<const char*>(&zero), sizeof zero), 0);
        EXPECT_EQ(GetIntegerOption(client, name), before) << name;
        EXPECT_GT(before, 4096) << name;
        const int size = 262144;
        EXPECT_EQ(setsockopt(client, SOL_SOCKET, name, reinterpret_cast<const char*>(&size), sizeof size), 0);
        EXPECT_EQ(GetIntegerOption(client, name), size) << name;
        closesocket(client);
    }
}

TEST(MaxMessageSize, IsTheIPv4UdpLimitForDatagramSockets) {
    n_Platform::c_WinsockSession session;
    const SOCKET datagram = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    EXPECT_EQ(GetIntegerOption(datagram, SO_MAX_MSG_SIZE), 65507);
    closesocket(datagram);
}

// A group datagram sent on loopback reaches a receiver that joined through 127.0.0.1, whether it
// bound to the interface's address (as on Windows) or to the any address.
struct s_MulticastCase {
    const char* m_Name;
    u_long m_BoundAddress;
};

class Multicast : public ::testing::TestWithParam<s_MulticastCase> {
protected:
    static constexpr u_long GROUP = 0xEFFF004D; // 239.255.0.77, administratively scoped

    n_Platform::c_WinsockSession m_Session;
};

TEST_P(Multicast, AGroupDatagramReachesTheJoinedReceiver) {
    const SOCKET receiver = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const BOOL reuse = TRUE;
    setsockopt(receiver, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
    sockaddr_in local = n_Platform::MakeLoopbackAddress(0);
    local.sin_addr.s_addr = htonl(GetParam().m_BoundAddress);
    ASSERT_EQ(bind(receiver, reinterpret_cast<const sockaddr*>(&local), sizeof local), 0);
    int length = sizeof local;
    getsockname(receiver, reinterpret_cast<sockaddr*>(&local), &length);
    ip_mreq membership{};
    membership.imr_multiaddr.s_addr = htonl(GROUP);
    membership.imr_interface.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(setsockopt(receiver, IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&membership),
                         sizeof membership),
              0)
        << WSAGetLastError();

    const SOCKET sender = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const DWORD interfaceAddress = htonl(INADDR_LOOPBACK);
    const DWORD loop = 1;
    setsockopt(sender, IPPROTO_IP, IP_MULTICAST_IF, reinterpret_cast<const char*>(&interfaceAddress),
               sizeof interfaceAddress);
    setsockopt(sender, IPPROTO_IP, IP_MULTICAST_LOOP, reinterpret_cast<const char*>(&loop), sizeof loop);
    sockaddr_in group = n_Platform::MakeLoopbackAddress(ntohs(local.sin_port));
    group.sin_addr.s_addr = htonl(GROUP);
    ASSERT_EQ(sendto(sender, "to the group", 12, 0, reinterpret_cast<const sockaddr*>(&group), sizeof group), 12);

    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(receiver, &readable);
    const timeval limit{5, 0};
    ASSERT_EQ(select(0, &readable, nullptr, nullptr, &limit), 1) << "nothing arrived";
    char arrived[32] = {};
    EXPECT_EQ(recvfrom(receiver, arrived, sizeof arrived, 0, nullptr, nullptr), 12);
    EXPECT_STREQ(arrived, "to the group");
    closesocket(sender);
    closesocket(receiver);
}

INSTANTIATE_TEST_SUITE_P(Receivers, Multicast,
                         ::testing::Values(s_MulticastCase{"BoundToTheInterface", INADDR_LOOPBACK},
                                           s_MulticastCase{"BoundToTheAnyAddress", INADDR_ANY}),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST(Select, ANegativeTimeOutIsInvalid) {
    n_Platform::c_WinsockSession session;
    const SOCKET idle = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(idle, &readable);
    const timeval negative{0, -1};
    EXPECT_EQ(select(0, &readable, nullptr, nullptr, &negative), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    closesocket(idle);
}

TEST(DontLinger, ZeroStillClosesWithAnOrderlyClose) {
    n_Platform::c_WinsockSession session;
    n_Platform::c_LoopbackPair pair;
    const int zero = 0;
    ASSERT_EQ(setsockopt(pair.m_Socket, SOL_SOCKET, SO_DONTLINGER, reinterpret_cast<const char*>(&zero), sizeof zero),
              0);
    closesocket(pair.m_Socket);
    EXPECT_EQ(n_PosixPeer::ReadUntilEnd(pair.m_Peer), 0) << "the peer saw a reset";
}

TEST(ErrorTexts, EveryNumberTheSocketsSetHasAText) {
    const DWORD errors[] = {WSAEWOULDBLOCK,   WSAECONNRESET, WSAECONNREFUSED,         WSAETIMEDOUT,
                            WSAEADDRNOTAVAIL, WSAEADDRINUSE, WSANOTINITIALISED,       WSAHOST_NOT_FOUND,
                            WSATRY_AGAIN,     WSAENOTSOCK,   ERROR_OPERATION_ABORTED, ERROR_ABANDONED_WAIT_0,
                            WAIT_TIMEOUT};
    for (const DWORD error : errors) {
        WCHAR text[512];
        const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                            0, text, 512, nullptr);
        ASSERT_GT(length, 2u) << error;
        EXPECT_EQ(std::u16string(text + length - 2, 2), u"\r\n") << error;
    }
}

TEST(ErrorTexts, RefusedAndResetReadAsOnWindows) {
    WCHAR text[512];
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, WSAECONNREFUSED, 0, text, 512, nullptr);
    EXPECT_EQ(std::u16string(text), u"No connection could be made because the target machine actively refused it.\r\n");
}

} // namespace
