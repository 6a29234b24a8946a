// c_ListeningSocket: opening, the accept loop on the opening thread, and closing.

#include "network/c_ListeningSocket.h"

#include "oslayer/net/NameLookup.h"
#include "oslayer/system/ErrorText.h"
#include "oslayer/system/LogMessage.h"
#include "textutil/NumberFormatting.h"

namespace {

c_String GetSocketErrorText(std::int32_t code) {
    return n_OSLayer::GetWindowsErrorText(static_cast<std::uint32_t>(code));
}

c_String GetLastSocketErrorText() {
    return GetSocketErrorText(WSAGetLastError());
}

} // namespace

c_ListeningSocket::c_ListeningSocket(c_ListeningSocketOwner* owner, const char* name)
    : c_AsyncWindow("ListeningSocket"), m_p_Owner(owner), m_Name(name), m_Thread(this) {}

c_ListeningSocket::~c_ListeningSocket() {
    Close();
}

void c_ListeningSocket::Log(const c_StringView& text) const {
    ::LogMessage(Concat({m_Name, " (", ::ToString(static_cast<std::uint64_t>(GetHandle())), "). Port ",
                         ::ToString(static_cast<unsigned int>(m_Port)), " | ", text}));
}

bool c_ListeningSocket::Fail(const c_StringView& text) {
    Log(text);
    Close();
    return false;
}

bool c_ListeningSocket::Open(std::uint16_t port, std::uint32_t address) {
    if (port == 0) {
        Log("Invalid listening port.");
        return false;
    }
    if (IsValid()) {
        return false;
    }
    if (!IsCreated() && !CreateAsyncWindow()) {
        Log("Failed to create the asynchronous window.");
        return false;
    }
    m_Thread.ClearMessagePending();
    c_String error;
    if (!m_Thread.StartThread(&error)) {
        Log(c_String("Failed to create the thread. ") + error);
        return false;
    }
    if (!CreateTCP()) {
        return Fail(c_String("Failed to create the socket.  ") + GetLastSocketErrorText());
    }
    SetNonBlocking();
    const c_String endpoint = IPv4PortToString(address, port);
    if (!Bind(port, address)) {
        return Fail(Concat({"Failed to bind socket to ", endpoint, ". ", GetLastSocketErrorText()}));
    }
    if (std::optional<s_IPv4Endpoint> local = GetLocalAddress()) {
        m_Port = local->m_Port;
    }
    if (!Listen(m_Backlog)) {
        return Fail(Concat({"Failed to start listening on ", endpoint, ".  ", GetLastSocketErrorText()}));
    }
    if (!EventSelect(m_Thread.GetEventHandle(), FD_ACCEPT | FD_CLOSE)) {
        return Fail(c_String("Failed to set for event notifications.  ") + GetLastSocketErrorText());
    }
    m_Listening = true;
    return true;
}

bool c_ListeningSocket::Close() {
    const bool wasOpen = IsValid();
    bool closed = true;
    if (wasOpen) {
        closed = c_SocketWrapper::Close();
        if (closed) {
            Log("Closed listening socket.");
        } else {
            Log(c_String("Error closing listening socket.  ") + GetLastSocketErrorText());
        }
    }
    m_Port = 0;
    m_Listening = false;
    m_Thread.WaitForThreadToFinish();
    m_Thread.ClearMessagePending();
    if (wasOpen && m_p_Owner != nullptr) {
        try {
            m_p_Owner->OnListeningSocketClosed(this);
        } catch (...) {
            Log("Caught an unhandled exception from the owner OnListeningSocketClosed in Close.");
        }
    }
    DestroyAsyncWindow();
    return closed;
}

LRESULT c_ListeningSocket::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        m_Thread.ClearMessagePending();
        ProcessNetworkEvents();
    }
    return c_AsyncWindow::WindowProc(message, wParam, lParam);
}

// Repeats while a pass took connections: the system reports FD_ACCEPT again while more wait. A pass
// that took none (the accept failing for want of handles, say) waits for the next event instead of
// spinning on the window's thread.
void c_ListeningSocket::ProcessNetworkEvents() {
    bool repeat = true;
    while (repeat && IsValid()) {
        WSANETWORKEVENTS events{};
        if (!EnumNetworkEvents(m_Thread.GetEventHandle(), events)) {
            return;
        }
        repeat = false;
        if ((events.lNetworkEvents & FD_ACCEPT) != 0) {
            const std::int32_t error = events.iErrorCode[FD_ACCEPT_BIT];
            if (error != 0) {
                OnAccept(error);
            } else {
                repeat = AcceptWaitingConnections() > 0;
            }
        }
        if ((events.lNetworkEvents & FD_CLOSE) != 0) {
            OnClose(events.iErrorCode[FD_CLOSE_BIT]);
        }
    }
}

void c_ListeningSocket::OnAccept(std::int32_t error) {
    if (error != 0) {
        Fail(c_String("Socket error received in OnAccept: ") + GetSocketErrorText(error));
        return;
    }
    AcceptWaitingConnections();
}

int c_ListeningSocket::AcceptWaitingConnections() {
    int accepted = 0;
    while (accepted < MAX_ACCEPTS_PER_PASS && AcceptOne()) {
        ++accepted;
    }
    return accepted;
}

bool c_ListeningSocket::AcceptOne() {
    s_AcceptResult result = Accept();
    if (!result.m_Ok) {
        const int error = WSAGetLastError();
        if (error == WSAECONNRESET) {
            return true;
        }
        if (error != WSAEWOULDBLOCK) {
            Log(c_String("Error when accepting connection: ") + GetSocketErrorText(error));
        }
        return false;
    }
    // An accepted socket would otherwise keep the listening socket's event selection.
    result.m_Socket.EventSelect(nullptr, 0);
    if (m_p_Owner != nullptr) {
        try {
            m_p_Owner->OnListeningSocketConnection(this, std::move(result.m_Socket), result.m_PeerAddress);
        } catch (...) {
            Log("Caught an unhandled exception from the owner OnListeningSocketConnection in OnAccept.");
        }
    }
    return true;
}

bool c_ListeningSocket::OnClose(std::int32_t error) {
    if (error != 0) {
        Log(c_String("Socket error received in OnClose: ") + GetSocketErrorText(error));
    }
    return Close();
}

bool GetLocalHostIPv4Address(std::uint32_t* address) {
    c_WinSockInitializer winsock;
    char name[128] = {};
    if (gethostname(name, sizeof name) != 0) {
        return false;
    }
    c_String error;
    return ResolveIPv4Address(c_String(name), address, &error);
}
