// Event select: WSAEventSelect, WSAEnumNetworkEvents and WSAAsyncSelect, and the recording of
// FD_CONNECT, FD_CLOSE and FD_ACCEPT.

#include "platform/kernel/LastError.h"
#include "platform/net/SocketOperations.h"
#include "platform/net/WinsockErrors.h"
#include "platform/net/internal/PosixSockets.h"

namespace n_Platform {

namespace {

int Select(SOCKET handle, const s_EventSelection& selection) {
    std::shared_ptr<c_Socket> socket = LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    const int result = n_PosixSockets::SetNonBlocking(socket->m_Fd, true);
    if (result < 0) {
        return FailWithSocketResult(SOCKET_ERROR, result);
    }
    socket->m_NonBlocking = true;
    socket->m_Selection = selection;
    if (socket->m_Listening) {
        RecordWaitingConnection(*socket);
    }
    return 0;
}

} // namespace

void RecordNetworkEvent(c_Socket& socket, int bit, DWORD error) {
    s_EventSelection& selection = socket.m_Selection;
    const LONG event = 1 << bit;
    if ((selection.m_Events & event) == 0) {
        return;
    }
    selection.m_Recorded.lNetworkEvents |= event;
    selection.m_Recorded.iErrorCode[bit] = int(error);
    if (selection.m_Event != nullptr) {
        SetEvent(selection.m_Event);
    }
    if (selection.m_Window != nullptr) {
        PostMessageW(selection.m_Window, selection.m_Message, socket.m_Id, WSAMAKESELECTREPLY(event, error));
    }
}

void RecordWaitingConnection(c_Socket& socket) {
    if (socket.m_AcceptRecordable && n_PosixSockets::HasWaitingConnection(socket.m_Fd)) {
        socket.m_AcceptRecordable = false;
        RecordNetworkEvent(socket, FD_ACCEPT_BIT, 0);
    }
}

void FinishConnect(c_Socket& socket, DWORD error) {
    socket.m_Connecting = false;
    socket.m_Connected = error == 0;
    RecordNetworkEvent(socket, FD_CONNECT_BIT, error);
}

} // namespace n_Platform

int WINAPI WSAEventSelect(SOCKET socket, HANDLE event, LONG events) {
    n_Platform::s_EventSelection selection;
    selection.m_Event = event;
    selection.m_Events = events;
    return n_Platform::Select(socket, selection);
}

int WINAPI WSAAsyncSelect(SOCKET socket, HWND window, u_int message, LONG events) {
    n_Platform::s_EventSelection selection;
    selection.m_Window = window;
    selection.m_Message = message;
    selection.m_Events = events;
    return n_Platform::Select(socket, selection);
}

int WINAPI WSAEnumNetworkEvents(SOCKET handle, HANDLE event, LPWSANETWORKEVENTS events) {
    if (events == nullptr) {
        return n_Platform::FailWith(SOCKET_ERROR, WSAEFAULT);
    }
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(handle);
    if (socket == nullptr) {
        return SOCKET_ERROR;
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    *events = socket->m_Selection.m_Recorded;
    socket->m_Selection.m_Recorded = WSANETWORKEVENTS{};
    if (event != nullptr) {
        ResetEvent(event);
    }
    return 0;
}
