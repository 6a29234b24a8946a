// c_AsyncHTTP2Connection: one request's connection, from the connect to the delayed close.

#include "protocols/http/c_AsyncHTTP2Connection.h"

#include "protocols/http/c_AsyncHTTP2.h"
#include "textutil/NumberFormatting.h"

namespace {

c_String MakeConnectionName(const c_HTTPConnectionInfo& info, std::int32_t connectionID, std::int32_t requestID) {
    return Concat({info.m_SchemeName, " connection ID:", ToString(connectionID), " to ", GetConnectionInfoText(info),
                   " for request ID:", ToString(requestID)});
}

c_String GetCompletedText(const c_HTTPResponse& response) {
    return Concat({"Request completed with the HTTP response status code ", ToString(response.GetStatusCode()), "."});
}

} // namespace

c_AsyncHTTP2Connection::c_AsyncHTTP2Connection(c_AsyncHTTP2* client, const c_HTTPConnectionInfo& info,
                                               std::int32_t connectionID, const c_AsyncHTTP2Request& request)
    : m_p_Client(client), m_ConnectionInfo(info), m_ConnectionID(connectionID), m_RequestID(request.GetID()),
      m_Name(MakeConnectionName(info, connectionID, request.GetID())), m_BufferedSocket(this, m_Name) {
    c_CriticalSectionLock lock;
    m_BufferedSocket.SetEnableLogging(client->m_EnableLogging, lock);
    lock.Unlock();
    m_BufferedSocket.SetLogLevel(client->m_SocketLogLevel, lock);
}

c_AsyncHTTP2Connection::~c_AsyncHTTP2Connection() {
    // The timers go before the socket, so that no event of theirs finds it half gone.
    m_InactivityTimer.Stop();
    m_DelayedCloseTimer.Stop();
}

bool c_AsyncHTTP2Connection::StartConnection(c_String& text) {
    m_Connecting = true;
    const std::int32_t securityMethod = m_ConnectionInfo.m_Secure ? m_p_Client->m_SecurityMethod : 0;
    c_CriticalSectionLock lock;
    const bool connected =
        m_BufferedSocket.Connect(m_ConnectionInfo.m_Host, m_ConnectionInfo.m_Port, securityMethod, lock);
    lock.Unlock();
    if (connected) {
        RestartInactivityTimer();
        text = "Waiting for a connection so the request can be sent.";
        return true;
    }
    m_p_Client->Log(Concat(
        {"Failed to start the connection to the HTTP server at ", GetConnectionInfoText(m_ConnectionInfo), "."}));
    m_Connecting = false;
    text = "Failed to start a network connection for the request.";
    return false;
}

void c_AsyncHTTP2Connection::RequestClose() {
    m_CloseRequested = true;
    DelayedClose();
}

void c_AsyncHTTP2Connection::DelayedClose() {
    m_InactivityTimer.Stop();
    m_DelayedCloseTimer.Start(DELAYED_CLOSE_MILLISECONDS, 1, false);
}

void c_AsyncHTTP2Connection::SetErrorOnlyLogging() {
    c_CriticalSectionLock lock;
    m_BufferedSocket.SetLogLevel(1, lock);
}

c_AsyncHTTP2Request* c_AsyncHTTP2Connection::GetRequest() const {
    return m_p_Client->FindRequest(m_RequestID);
}

void c_AsyncHTTP2Connection::Log(const c_StringView& text) const {
    m_p_Client->Log(Concat({m_Name, " - ", text}));
}

void c_AsyncHTTP2Connection::RestartInactivityTimer() {
    m_InactivityTimer.Start(m_p_Client->m_InactivityMilliseconds, 1, false);
}

void c_AsyncHTTP2Connection::OnBufferedSocket2Connected(c_BufferedSocket2* socket) {
    if (socket != &m_BufferedSocket) {
        return;
    }
    RestartInactivityTimer();
    m_Connecting = false;
    c_AsyncHTTP2Request* request = GetRequest();
    if (request == nullptr) {
        DelayedClose();
        return;
    }
    c_String text;
    const bool written = request->WriteRequest(m_BufferedSocket, m_ConnectionInfo.m_ViaProxy, text);
    request->SetStatusText(text);
    if (written) {
        RestartInactivityTimer();
    } else {
        // The request ends when the socket has closed.
        DelayedClose();
    }
}

void c_AsyncHTTP2Connection::OnBufferedSocketReceivedData(c_BufferedSocket2* socket, c_ByteBuffer& received) {
    if (socket != &m_BufferedSocket) {
        return;
    }
    RestartInactivityTimer();
    c_AsyncHTTP2Request* request = GetRequest();
    if (request == nullptr) {
        DelayedClose();
        return;
    }
    request->GetResponse().ParseData(received);
    m_p_Client->NotifyActivity(*request);
    // The owner may have canceled the request inside the notification.
    request = GetRequest();
    if (request != nullptr && !request->IsFinished()) {
        CheckResponse(*request);
    }
}

void c_AsyncHTTP2Connection::CheckResponse(c_AsyncHTTP2Request& request) {
    c_HTTPResponse& response = request.GetResponse();
    c_String error;
    if (response.GetError(&error)) {
        request.SetStatusText(Concat({"Received invalid data.  ", error}));
        DelayedClose();
        m_p_Client->FailRequest(request);
    } else if (response.IsComplete()) {
        request.SetStatusText(GetCompletedText(response));
        DelayedClose();
        m_p_Client->CompleteRequest(request);
    }
}

void c_AsyncHTTP2Connection::OnBufferedSocketClosed(c_BufferedSocket2* socket) {
    if (socket != &m_BufferedSocket) {
        return;
    }
    m_InactivityTimer.Stop();
    const bool wasConnecting = m_Connecting;
    m_Connecting = false;
    if (!m_CloseRequested) {
        if (c_AsyncHTTP2Request* request = GetRequest()) {
            EndRequestOnClose(*request, wasConnecting);
        }
    }
    m_p_Client->OnConnectionClosed(m_ConnectionID);
}

void c_AsyncHTTP2Connection::EndRequestOnClose(c_AsyncHTTP2Request& request, bool wasConnecting) {
    c_HTTPResponse& response = request.GetResponse();
    if (wasConnecting) {
        request.SetStatusText("Socket connection closed during the connection attempt.");
        m_p_Client->FailRequest(request);
        return;
    }
    if (!response.HasStarted()) {
        request.SetStatusText("The connection was closed before a valid response was received.");
        m_p_Client->FailRequest(request);
        return;
    }
    // A body read until the close ends here; any other body cut short is a failure, never a success.
    response.ParseEndOfData();
    if (response.IsComplete()) {
        request.SetStatusText(GetCompletedText(response));
        m_p_Client->CompleteRequest(request);
        return;
    }
    request.SetStatusText("The connection was closed before the whole response body was received.");
    m_p_Client->FailRequest(request);
}

void c_AsyncHTTP2Connection::OnTimer(c_TimerNew* timer) {
    if (timer == &m_InactivityTimer) {
        DelayedClose();
    } else if (timer == &m_DelayedCloseTimer) {
        c_CriticalSectionLock lock;
        m_BufferedSocket.CloseSocket(true, lock);
    }
}
