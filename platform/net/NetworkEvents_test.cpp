// Conformance of event select against loopback peers: FD_CONNECT, FD_CLOSE, FD_ACCEPT and the
// connect deadline on the test clock, recorded for an event and posted as a window message.

#include "platform/net/Reactor.h"
#include "platform/testing/LoopbackPair.h"
#include "platform/testing/PosixPeer.h"
#include "platform/testing/PumpUntil.h"
#include "platform/testing/TestClock.h"
#include "platform/testing/TestWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

const auto CONNECT_CASES = ::testing::Values(s_ConnectCase{"ListenerGivesZero", true, 0},
                                             s_ConnectCase{"ClosedPortGives10061", false, WSAECONNREFUSED});
INSTANTIATE_TEST_SUITE_P(Targets, ConnectEvent, CONNECT_CASES,
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

const auto CLOSE_CASES = ::testing::Values(s_CloseCase{"OrderlyCloseGivesZero", false, 0},
                                           s_CloseCase{"ResetGives10054", true, WSAECONNRESET});
INSTANTIATE_TEST_SUITE_P(Closes, CloseEvent, CLOSE_CASES,
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
    // Only once the filler sits in the accept queue is the queue full and the next handshake dropped.
    ASSERT_TRUE(n_PosixPeer::WaitForPendingConnection(listener, n_Platform::PROMPTLY_MS));
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

// The unconnected socket's one report of "writable, hung up" may reach the reactor after the connect
// began: it neither ends the connect nor closes the connection.
TEST(ConnectEvent, AStaleReadinessDoesNotFinishAPendingConnect) {
    n_Platform::c_WinsockSession session;
    std::uint16_t port = 0;
    const int listener = n_PosixPeer::Listen(&port, 0);
    const int filler = n_PosixPeer::Connect(port);
    ASSERT_TRUE(n_PosixPeer::WaitForPendingConnection(listener, n_Platform::PROMPTLY_MS));
    c_SelectedSocket selected(FD_CONNECT | FD_CLOSE);
    ASSERT_EQ(selected.Connect(port), SOCKET_ERROR);
    n_Platform::OnSocketReady(selected.m_Socket, n_Platform::READY_WRITE | n_Platform::READY_FAILED);
    EXPECT_EQ(selected.WaitForEvents(0).lNetworkEvents, 0);
    n_PosixPeer::Close(filler);
    n_PosixPeer::Close(listener);
}

TEST(CloseEvent, AStaleReadinessDoesNotCloseAConnection) {
    n_Platform::c_WinsockSession session;
    std::uint16_t port = 0;
    const int listener = n_PosixPeer::Listen(&port, 4);
    c_SelectedSocket selected(FD_CONNECT | FD_CLOSE);
    ASSERT_EQ(selected.Connect(port), SOCKET_ERROR);
    ASSERT_EQ(selected.WaitForEvents().lNetworkEvents, FD_CONNECT);
    n_Platform::OnSocketReady(selected.m_Socket, n_Platform::READY_WRITE | n_Platform::READY_FAILED);
    EXPECT_EQ(selected.WaitForEvents(0).lNetworkEvents, 0);
    n_PosixPeer::Close(listener);
}

// WSAAsyncSelect posts each record to a window of the test's thread: the socket as wParam, the
// event and its error packed into lParam.
constexpr UINT SOCKET_MESSAGE = WM_USER + 5;

struct s_Reply {
    WPARAM m_Socket;
    WORD m_Event;
    WORD m_Error;
};

class c_AsyncSelection {
public:
    c_AsyncSelection() : m_Window(n_TestWindows::MakeWindow(&m_Handler)) {}
    ~c_AsyncSelection() { DestroyWindow(m_Window); }
    c_AsyncSelection(const c_AsyncSelection&) = delete;
    c_AsyncSelection& operator=(const c_AsyncSelection&) = delete;

    // A new socket whose events come to the window.
    SOCKET MakeSocket(LONG events) {
        const SOCKET made = socket(AF_INET, SOCK_STREAM, 0);
        EXPECT_EQ(WSAAsyncSelect(made, m_Window, SOCKET_MESSAGE, events), 0);
        return made;
    }

    // The next reply, pumping the thread's queue for it; none (event 0) when it does not come.
    s_Reply Next() {
        if (!n_Platform::PumpUntil([this] { return m_Taken < m_Replies.size(); })) {
            return {};
        }
        return m_Replies[m_Taken++];
    }

private:
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != SOCKET_MESSAGE) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        m_Replies.push_back({wParam, WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam)});
        return 0;
    }

    n_Platform::c_WinsockSession m_Session;
    std::vector<s_Reply> m_Replies;
    std::size_t m_Taken = 0;
    n_TestWindows::t_Handler m_Handler = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return Handle(window, message, wParam, lParam);
    };
    HWND m_Window;
};

int ConnectTo(SOCKET socket, std::uint16_t port) {
    const sockaddr_in address = n_Platform::MakeLoopbackAddress(port);
    return connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

class AsyncConnect : public ::testing::TestWithParam<s_ConnectCase> {};

TEST_P(AsyncConnect, PostsTheConnectResult) {
    c_AsyncSelection selection;
    std::uint16_t port = n_PosixPeer::FindClosedPort();
    const int listener = GetParam().m_Listening ? n_PosixPeer::Listen(&port, 4) : -1;
    const SOCKET connecting = selection.MakeSocket(FD_CONNECT | FD_CLOSE);
    ASSERT_EQ(ConnectTo(connecting, port), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK) << "the selection made the socket non-blocking";
    const s_Reply reply = selection.Next();
    EXPECT_EQ(reply.m_Socket, connecting);
    EXPECT_EQ(reply.m_Event, FD_CONNECT);
    EXPECT_EQ(reply.m_Error, GetParam().m_Error);
    closesocket(connecting);
    if (listener >= 0) {
        n_PosixPeer::Close(listener);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, AsyncConnect, CONNECT_CASES,
                         [](const auto& info) { return std::string(info.param.m_Name); });

class AsyncClose : public ::testing::TestWithParam<s_CloseCase> {};

TEST_P(AsyncClose, PostsHowThePeerClosed) {
    c_AsyncSelection selection;
    std::uint16_t port = 0;
    const int listener = n_PosixPeer::Listen(&port, 4);
    const SOCKET connected = selection.MakeSocket(FD_CONNECT | FD_CLOSE);
    ConnectTo(connected, port);
    ASSERT_EQ(selection.Next().m_Event, FD_CONNECT);
    const int peer = n_PosixPeer::Accept(listener);
    if (GetParam().m_Reset) {
        n_PosixPeer::CloseWithReset(peer);
    } else {
        n_PosixPeer::Close(peer);
    }
    const s_Reply reply = selection.Next();
    EXPECT_EQ(reply.m_Socket, connected);
    EXPECT_EQ(reply.m_Event, FD_CLOSE);
    EXPECT_EQ(reply.m_Error, GetParam().m_Error);
    closesocket(connected);
    n_PosixPeer::Close(listener);
}

INSTANTIATE_TEST_SUITE_P(Closes, AsyncClose, CLOSE_CASES,
                         [](const auto& info) { return std::string(info.param.m_Name); });

TEST(AsyncAccept, PostsAWaitingConnectionForTheListener) {
    c_AsyncSelection selection;
    const SOCKET listener = selection.MakeSocket(FD_ACCEPT);
    sockaddr_in address = n_Platform::MakeLoopbackAddress(0);
    bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    listen(listener, 4);
    int length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const int peer = n_PosixPeer::Connect(ntohs(address.sin_port));
    const s_Reply reply = selection.Next();
    EXPECT_EQ(reply.m_Socket, listener);
    EXPECT_EQ(reply.m_Event, FD_ACCEPT);
    EXPECT_EQ(reply.m_Error, 0);
    n_PosixPeer::Close(peer);
    closesocket(listener);
}

} // namespace
