// Tests of the socket wrapper, the WinSock initializer and the socket set: the edge cases as rows.

#include "network/SockAddrIPv4.h"
#include "network/c_SocketSet.h"
#include "network/c_SocketWrapper.h"
#include "network/c_WinSockInitializer.h"
#include "oslayer/testing/c_LogRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SockAddrIPv4, MakesAndParsesInHostOrder) {
    const sockaddr_in address = MakeSockAddrIPv4(0x7f000001, 8080);
    EXPECT_EQ(address.sin_family, AF_INET);
    EXPECT_EQ(address.sin_port, htons(8080));
    EXPECT_EQ(address.sin_addr.s_addr, htonl(0x7f000001));
    const std::optional<s_IPv4Endpoint> parsed =
        ParseSockAddrIPv4(reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->m_Address, 0x7f000001u);
    EXPECT_EQ(parsed->m_Port, 8080);
    EXPECT_FALSE(ParseSockAddrIPv4(reinterpret_cast<const sockaddr*>(&address), 15)) << "too short";
    sockaddr_in6 ipv6{};
    ipv6.sin6_family = AF_INET6;
    EXPECT_FALSE(ParseSockAddrIPv4(reinterpret_cast<const sockaddr*>(&ipv6), sizeof ipv6)) << "not IPv4";
}

TEST(SocketWrapper, CreateFailingLeavesHandleZero) {
    c_SocketWrapper wrapper;
    EXPECT_FALSE(wrapper.CreateTCP()) << "WinSock is not started";
    EXPECT_TRUE(wrapper == 0);
    EXPECT_FALSE(wrapper.IsValid());
    EXPECT_TRUE(wrapper.Close()) << "nothing to close";
}

TEST(SocketWrapper, MovingTransfersTheHandleAndClosesOnce) {
    c_WinSockInitializer winsock;
    c_SocketWrapper first;
    ASSERT_TRUE(first.CreateTCP());
    const SOCKET handle = first.GetHandle();
    c_SocketWrapper second(std::move(first));
    EXPECT_TRUE(first == 0);
    EXPECT_TRUE(second == handle);
    EXPECT_EQ(std::string(second.ToString().GetChars()), std::to_string(handle));
    EXPECT_TRUE(second.Close());
    EXPECT_TRUE(second == 0);
    EXPECT_TRUE(second.Close());
}

TEST(SocketWrapper, ConnectsAcceptsAndReportsAddressesInHostOrder) {
    c_WinSockInitializer winsock;
    c_SocketWrapper listener;
    ASSERT_TRUE(listener.CreateTCP());
    ASSERT_TRUE(listener.Bind(0, 0x7f000001));
    ASSERT_TRUE(listener.Listen());
    const std::optional<s_IPv4Endpoint> local = listener.GetLocalAddress();
    ASSERT_TRUE(local);
    EXPECT_EQ(local->m_Address, 0x7f000001u);
    c_SocketWrapper client;
    ASSERT_TRUE(client.CreateTCP());
    ASSERT_TRUE(client.Connect(0x7f000001, local->m_Port));
    s_AcceptResult accepted = listener.Accept();
    EXPECT_TRUE(accepted.m_Ok);
    EXPECT_EQ(accepted.m_PeerAddress, 0x7f000001u);
    EXPECT_TRUE(accepted.m_Socket.IsValid());
}

TEST(SocketWrapper, DatagramsCarryTheSenderOnlyWhenAsked) {
    c_WinSockInitializer winsock;
    c_SocketWrapper receiver;
    c_SocketWrapper sender;
    ASSERT_TRUE(receiver.CreateUDP() && sender.CreateUDP());
    ASSERT_TRUE(receiver.Bind(0, 0x7f000001));
    ASSERT_TRUE(sender.Bind(0, 0x7f000001));
    const std::uint16_t port = receiver.GetLocalAddress()->m_Port;
    EXPECT_EQ(receiver.GetMaxMessageSize(), 65507);
    ASSERT_EQ(sender.SendTo(0x7f000001, port, s_ByteSpan::FromPointer("one", 3)), 3);
    ASSERT_EQ(sender.SendTo(0x7f000001, port, s_ByteSpan::FromPointer("two", 3)), 3);
    char buffer[16];
    std::uint32_t address = 0;
    std::uint16_t from = 0;
    const std::optional<s_ByteSpan> first = receiver.ReceiveFrom(s_ByteSpan::FromPointer(buffer, 16), &address, &from);
    ASSERT_TRUE(first);
    EXPECT_EQ(std::string(buffer, first->m_Size), "one");
    EXPECT_EQ(address, 0x7f000001u);
    EXPECT_EQ(from, sender.GetLocalAddress()->m_Port);
    const std::optional<s_ByteSpan> second =
        receiver.ReceiveFrom(s_ByteSpan::FromPointer(buffer, 16), nullptr, nullptr);
    ASSERT_TRUE(second);
    EXPECT_EQ(std::string(buffer, second->m_Size), "two");
}

TEST(SocketSet, RefusesZeroDuplicatesAndA65thSocket) {
    c_WinSockInitializer winsock;
    std::vector<c_SocketWrapper> sockets(65);
    c_SocketSet set;
    set.Add(c_SocketWrapper());
    EXPECT_TRUE(set.IsEmpty());
    for (c_SocketWrapper& socket : sockets) {
        ASSERT_TRUE(socket.CreateUDP());
        set.Add(socket);
    }
    EXPECT_EQ(set.GetCount(), 64u);
    EXPECT_FALSE(set.Contains(sockets[64]));
    set.Add(sockets[0]);
    EXPECT_EQ(set.GetCount(), 64u);
    set.Remove(sockets[1]);
    EXPECT_EQ(set.GetCount(), 63u);
    EXPECT_EQ(set.GetSet().fd_array[1], sockets[2].GetHandle()) << "the order is kept";
    EXPECT_FALSE(set.Contains(c_SocketWrapper()));
}

TEST(SelectRead, ReportsAReadableSocket) {
    c_WinSockInitializer winsock;
    c_SocketWrapper receiver;
    c_SocketWrapper sender;
    ASSERT_TRUE(receiver.CreateUDP() && sender.CreateUDP());
    ASSERT_TRUE(receiver.Bind(0, 0x7f000001));
    c_SocketSet set;
    set.Add(receiver);
    EXPECT_EQ(n_OSLayer::SelectRead(set, 0), 0);
    sender.SendTo(0x7f000001, receiver.GetLocalAddress()->m_Port, s_ByteSpan::FromPointer("x", 1));
    c_SocketSet again;
    again.Add(receiver);
    EXPECT_EQ(n_OSLayer::SelectRead(again, 5000000), 1);
}

TEST(SelectRead, ANegativeTimeOutPollsANonEmptySetOnce) {
    c_WinSockInitializer winsock;
    c_SocketWrapper receiver;
    ASSERT_TRUE(receiver.CreateUDP());
    ASSERT_TRUE(receiver.Bind(0, 0x7f000001));
    c_SocketSet set;
    set.Add(receiver);
    EXPECT_EQ(n_OSLayer::SelectRead(set, -1), 0);
}

TEST(WinSockInitializer, PairsEachStartupWithOneCleanupAndLogsAsSpecified) {
    c_LogRecorder log;
    {
        c_WinSockInitializer first;
        {
            c_WinSockInitializer second;
            EXPECT_TRUE(first.IsStarted() && second.IsStarted());
        }
        c_SocketWrapper stillUp;
        EXPECT_TRUE(stillUp.CreateTCP()) << "one cleanup is not enough";
    }
    c_SocketWrapper down;
    EXPECT_FALSE(down.CreateTCP());
    const std::vector<std::string> lines = log.TakeLines();
    const std::vector<std::string> expected = {"WSACleanup called.", "WSACleanup called."};
    std::vector<std::string> withoutStartup;
    for (const std::string& line : lines) {
        if (line != "WSAStartup called.") {
            withoutStartup.push_back(line);
        }
    }
    EXPECT_EQ(withoutStartup, expected);
    EXPECT_LE(lines.size(), 3u) << "WSAStartup called. is logged once per process";
}

TEST(WinSockInitializer, MovingTransfersTheFlag) {
    c_WinSockInitializer first;
    c_WinSockInitializer second(std::move(first));
    EXPECT_FALSE(first.IsStarted());
    EXPECT_TRUE(second.IsStarted());
}

} // namespace
