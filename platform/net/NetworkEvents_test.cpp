// Conformance of event select against loopback peers: FD_CONNECT, FD_CLOSE, FD_ACCEPT and the
// connect deadline on the test clock.

#include "platform/net/testing/LoopbackPair.h"
#include "platform/net/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestClock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class c_SelectedSocket {
public:
    explicit c_SelectedSocket(LONG events) : m_Event(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
        m_Socket = socket(AF_INET, SOCK_STREAM, 0);
        WSAEventSelect(m_Socket, m_Event, events);
    }
    ~c_SelectedSocket() {
        closesocket(m_Socket);
        CloseHandle(m_Event);
    }
    c_SelectedSocket(const c_SelectedSocket&) = delete;
    c_SelectedSocket& operator=(const c_SelectedSocket&) = delete;

    int Connect(std::uint16_t port) {
        const sockaddr_in address = n_Platform::MakeLoopbackAddress(port);
        return connect(m_Socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }

    // The recorded events once the event is signalled; none when it is not within the limit.
    WSANETWORKEVENTS WaitForEvents(DWORD milliseconds = n_Platform::PROMPTLY_MS) {
        WSANETWORKEVENTS events{};
        if (WaitForSingleObject(m_Event, milliseconds) == WAIT_OBJECT_0) {
            WSAEnumNetworkEvents(m_Socket, m_Event, &events);
        }
        return events;
    }

    HANDLE m_Event;
    SOCKET m_Socket;
};

struct s_ConnectCase {
    const char* m_Name;
    bool m_Listening;
    int m_Error;
};

class ConnectEvent : public ::testing::TestWithParam<s_ConnectCase> {
protected:
    n_Platform::c_WinsockSession m_Session;
};

TEST_P(ConnectEvent, CarriesTheConnectResult) {
    std::uint16_t port = n_PosixPeer::FindClosedPort();
    const int listener = GetParam().m_Listening ? n_PosixPeer::Listen(&port, 4) : -1;
    c_SelectedSocket selected(FD_CONNECT | FD_CLOSE);
    ASSERT_EQ(selected.Connect(port), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    const WSANETWORKEVENTS events = selected.WaitForEvents();
    EXPECT_EQ(events.lNetworkEvents, FD_CONNECT);
    EXPECT_EQ(events.iErrorCode[FD_CONNECT_BIT], GetParam().m_Error);
    if (listener >= 0) {
        n_PosixPeer::Close(listener);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, ConnectEvent,
                         ::testing::Values(s_ConnectCase{"ListenerGivesZero", true, 0},
                                           s_ConnectCase{"ClosedPortGives10061", false, WSAECONNREFUSED}),
                         [](const auto& info) { return std::string(info.param.m_Name); });

struct s_CloseCase {
    const char* m_Name;
    bool m_Reset;
    int m_Error;
};

class CloseEvent : public ::testing::TestWithParam<s_CloseCase> {
protected:
    n_Platform::c_WinsockSession m_Session;
};

TEST_P(CloseEvent, CarriesHowThePeerClosed) {
    std::uint16_t port = 0;
    const int listener = n_PosixPeer::Listen(&port, 4);
    c_SelectedSocket selected(FD_CONNECT | FD_CLOSE);
    selected.Connect(port);
    ASSERT_EQ(selected.WaitForEvents().lNetworkEvents, FD_CONNECT);
    const int peer = n_PosixPeer::Accept(listener);
    if (GetParam().m_Reset) {
        n_PosixPeer::CloseWithReset(peer);
    } else {
        n_PosixPeer::Close(peer);
    }
    const WSANETWORKEVENTS events = selected.WaitForEvents();
    EXPECT_EQ(events.lNetworkEvents, FD_CLOSE);
    EXPECT_EQ(events.iErrorCode[FD_CLOSE_BIT], GetParam().m_Error);
    n_PosixPeer::Close(listener);
}

INSTANTIATE_TEST_SUITE_P(Closes, CloseEvent,
                         ::testing::Values(s_CloseCase{"OrderlyCloseGivesZero", false, 0},
                                           s_CloseCase{"ResetGives10054", true, WSAECONNRESET}),
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST(AcceptEvent, IsRecordedAgainAfterAnAcceptWhileConnectionsWait) {
    n_Platform::c_WinsockSession session;
    c_SelectedSocket listener(FD_ACCEPT | FD_CLOSE);
    sockaddr_in address = n_Platform::MakeLoopbackAddress(0);
    bind(listener.m_Socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    listen(listener.m_Socket, SOMAXCONN_HINT(200));
    int length = sizeof address;
    getsockname(listener.m_Socket, reinterpret_cast<sockaddr*>(&address), &length);
    const int first = n_PosixPeer::Connect(ntohs(address.sin_port));
    const int second = n_PosixPeer::Connect(ntohs(address.sin_port));
    EXPECT_EQ(listener.WaitForEvents().lNetworkEvents, FD_ACCEPT);
    const SOCKET accepted = accept(listener.m_Socket, nullptr, nullptr);
    EXPECT_NE(accepted, INVALID_SOCKET);
    EXPECT_EQ(listener.WaitForEvents(0).lNetworkEvents, FD_ACCEPT) << "one connection still waits";
    const SOCKET last = accept(listener.m_Socket, nullptr, nullptr);
    EXPECT_NE(last, INVALID_SOCKET);
    EXPECT_EQ(listener.WaitForEvents(0).lNetworkEvents, 0) << "none waits";
    closesocket(accepted);
    closesocket(last);
    n_PosixPeer::Close(first);
    n_PosixPeer::Close(second);
}

TEST(ConnectDeadline, GivesUpAfter21SecondsWith10060) {
    n_Platform::c_WinsockSession session;
    std::uint16_t port = 0;
    // A backlog of 0 holds one connection; the next connect's handshake is never answered.
    const int listener = n_PosixPeer::Listen(&port, 0);
    const int filler = n_PosixPeer::Connect(port);
    n_Platform::c_TestClock clock;
    c_SelectedSocket selected(FD_CONNECT);
    ASSERT_EQ(selected.Connect(port), SOCKET_ERROR);
    ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    clock.Advance(20999);
    EXPECT_EQ(selected.WaitForEvents(0).lNetworkEvents, 0);
    clock.Advance(1);
    const WSANETWORKEVENTS events = selected.WaitForEvents(INFINITE);
    EXPECT_EQ(events.lNetworkEvents, FD_CONNECT);
    EXPECT_EQ(events.iErrorCode[FD_CONNECT_BIT], WSAETIMEDOUT);
    n_PosixPeer::Close(filler);
    n_PosixPeer::Close(listener);
}

} // namespace
