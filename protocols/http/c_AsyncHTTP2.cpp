// c_AsyncHTTP2: requests, the per-host connection limit with its queue, the end paths, the owner
// notifications and the destruction of finished objects.

#include "protocols/http/c_AsyncHTTP2.h"

#include "oslayer/system/LogMessage.h"
#include "protocols/http/ProxyAuthorization.h"
#include "protocols/http/internal/HTTPFieldChecks.h"

#include <algorithm>
#include <exception>
#include <new>

c_AsyncHTTP2::c_AsyncHTTP2(c_AsyncHTTP2Owner* owner) : m_p_Owner(owner) {}

c_AsyncHTTP2::~c_AsyncHTTP2() {
    m_p_Owner = nullptr;
    if (m_OwnerCallbackDepth == 0) {
        Reset();
    }
}

void c_AsyncHTTP2::Reset() {
    CancelAllRequests(true);
    m_QueuedRequestIDs.clear();
    m_CompletedRequests.clear();
    m_Requests.clear();
    m_Connections.clear();
    m_CompletedConnections.clear();
    m_ConnectionInfos.Clear();
    m_DestroyCompletedObjectsTimer.Stop();
}

const char* c_AsyncHTTP2::GetRequestEndStateText(std::int32_t endState) {
    static const char* const TEXTS[] = {"Not finished", "Canceled", "Completed", "Failed", "Timed out"};
    return endState >= 0 && endState <= 4 ? TEXTS[endState] : "";
}

c_AsyncHTTP2::c_Request* c_AsyncHTTP2::SendRequest(const c_HTTPRequestParameters& parameters, c_Request* previous) {
    if (m_CancelingAllRequests) {
        return nullptr;
    }
    const std::int32_t id = m_NextRequestID++;
    c_Request* request = nullptr;
    try {
        auto created = std::make_unique<c_Request>(this, previous, id, parameters, m_RequestTimeoutMilliseconds);
        request = created.get();
        m_Requests.emplace(id, std::move(created));
    } catch (const std::exception&) {
        return nullptr;
    }
    if (previous != nullptr && !previous->m_NotifyOwner) {
        request->m_NotifyOwner = false;
    }
    if (!DispatchRequest(*request)) {
        MoveToCompleted(id);
        return nullptr;
    }
    return request;
}

std::int32_t c_AsyncHTTP2::SendRequestAndGetID(const c_HTTPRequestParameters& parameters) {
    const c_Request* request = SendRequest(parameters, nullptr);
    return request != nullptr ? request->GetID() : 0;
}

std::int32_t c_AsyncHTTP2::SendGetRequest(const c_String& url) {
    c_HTTPRequestParameters parameters;
    parameters.m_Method = HTTP_METHOD_GET;
    parameters.m_URL = url;
    return SendRequestAndGetID(parameters);
}

bool c_AsyncHTTP2::DispatchRequest(c_Request& request) {
    request.AddDefaultHeaders();
    const c_HTTPConnectionInfo* info = request.GetConnectionInfo();
    if (info == nullptr) {
        request.SetStatusText("Failed to get the connection info, necessary to prepare and dispatch the request.");
        return false;
    }
    // The credentials go in only where the proxy's record asks for them, over TLS.
    if (IsProxyInUse() && !AddProxyAuthorization(*info, *m_p_ProxySettings, request.m_Parameters.m_Headers)) {
        return false;
    }
    if (!CheckHeaderFields(request)) {
        return false;
    }
    if (CountConnections(info->m_Host) >= MAX_CONNECTIONS_PER_HOST) {
        return QueueRequest(request);
    }
    return CreateConnection(request, *info);
}

bool c_AsyncHTTP2::CheckHeaderFields(c_Request& request) {
    for (const auto& [name, value] : request.m_Parameters.m_Headers) {
        if (!n_HTTPFieldChecks::IsFieldName(name) || !n_HTTPFieldChecks::IsFieldValue(value)) {
            // A line break here would let a listed name or a redirect target write its own request.
            request.SetStatusText("Failed to dispatch the request because a header field cannot be sent safely.");
            return false;
        }
    }
    return true;
}

std::int32_t c_AsyncHTTP2::CountConnections(const c_StringView& host) const {
    const c_StringViewNoCase wanted(host);
    return static_cast<std::int32_t>(
        std::count_if(m_Connections.begin(), m_Connections.end(), [&](const std::unique_ptr<c_Connection>& connection) {
            return wanted == connection->GetConnectionInfo().m_Host;
        }));
}

bool c_AsyncHTTP2::QueueRequest(c_Request& request) {
    try {
        m_QueuedRequestIDs.push_back(request.GetID());
    } catch (const std::exception&) {
        request.SetStatusText("Failed to queue the request due to an exception.");
        return false;
    }
    request.SetStatusText("Request is queued.");
    return true;
}

bool c_AsyncHTTP2::CreateConnection(c_Request& request, const c_HTTPConnectionInfo& info) {
    const std::int32_t connectionID = m_NextConnectionID++;
    c_Connection* connection = nullptr;
    try {
        m_Connections.push_back(std::make_unique<c_Connection>(this, info, connectionID, request));
        connection = m_Connections.back().get();
    } catch (const std::exception&) {
        request.SetStatusText("Failed to create a connection object for the request.");
        return false;
    }
    c_String text;
    const bool started = connection->StartConnection(text);
    request.SetStatusText(text);
    if (!started) {
        // No close event follows a failed start: free its slot now, as a close would.
        OnConnectionClosed(connectionID);
        return false;
    }
    request.SetConnectionID(connectionID);
    return true;
}

void c_AsyncHTTP2::OnConnectionClosed(std::int32_t connectionID) {
    const auto found =
        std::find_if(m_Connections.begin(), m_Connections.end(), [&](const std::unique_ptr<c_Connection>& connection) {
            return connection->GetConnectionID() == connectionID;
        });
    if (found == m_Connections.end()) {
        return;
    }
    std::unique_ptr<c_Connection> closed = std::move(*found);
    m_Connections.erase(found);
    const c_String host = closed->GetConnectionInfo().m_Host;
    try {
        m_CompletedConnections.push_back(std::move(closed));
    } catch (const std::exception&) {
        Log("Failed to add the connection object to the completed connections container.");
        closed.reset();
    }
    StartDestroyTimer();
    StartQueuedRequests(host);
}

void c_AsyncHTTP2::StartQueuedRequests(const c_String& host) {
    std::int32_t id = 0;
    while (CountConnections(host) < MAX_CONNECTIONS_PER_HOST && TakeNextQueued(host, &id)) {
        StartQueuedRequest(id);
    }
}

bool c_AsyncHTTP2::TakeNextQueued(const c_String& host, std::int32_t* id) {
    const c_StringViewNoCase wanted(host);
    const auto found = std::find_if(m_QueuedRequestIDs.begin(), m_QueuedRequestIDs.end(), [&](std::int32_t queued) {
        const c_Request* request = FindRequest(queued);
        const c_HTTPConnectionInfo* info = request != nullptr ? request->GetConnectionInfo() : nullptr;
        return info == nullptr || wanted == info->m_Host;
    });
    if (found == m_QueuedRequestIDs.end()) {
        return false;
    }
    *id = *found;
    m_QueuedRequestIDs.erase(found);
    return true;
}

void c_AsyncHTTP2::StartQueuedRequest(std::int32_t id) {
    c_Request* request = FindRequest(id);
    if (request == nullptr) {
        return;
    }
    const c_HTTPConnectionInfo* info = request->GetConnectionInfo();
    if (info == nullptr) {
        request->SetStatusText("Failed to get the connection info.");
        FailRequest(*request);
        return;
    }
    if (!CreateConnection(*request, *info)) {
        FailRequest(*request);
    }
}

void c_AsyncHTTP2::CancelRequest(std::int32_t id, bool notifyOwner) {
    m_QueuedRequestIDs.erase(std::remove(m_QueuedRequestIDs.begin(), m_QueuedRequestIDs.end(), id),
                             m_QueuedRequestIDs.end());
    c_Request* request = FindRequest(id);
    if (request == nullptr) {
        return;
    }
    if (!notifyOwner) {
        request->m_NotifyOwner = false;
    }
    if (c_Connection* connection = FindConnection(request->m_ConnectionID)) {
        connection->RequestClose();
    }
    request->SetStatusText("Request was canceled.");
    CancelEnd(*request);
}

void c_AsyncHTTP2::CancelAllRequests(bool notifyOwner) {
    if (m_CancelingAllRequests) {
        return;
    }
    m_CancelingAllRequests = true;
    std::vector<std::int32_t> ids;
    for (const auto& entry : m_Requests) {
        ids.push_back(entry.first);
    }
    for (const std::int32_t id : ids) {
        CancelRequest(id, notifyOwner);
    }
    m_CancelingAllRequests = false;
}

c_AsyncHTTP2::c_Request* c_AsyncHTTP2::FindRequest(std::int32_t id) const {
    const auto found = m_Requests.find(id);
    return found != m_Requests.end() ? found->second.get() : nullptr;
}

c_AsyncHTTP2::c_Connection* c_AsyncHTTP2::FindConnection(std::int32_t connectionID) const {
    for (const std::unique_ptr<c_Connection>& connection : m_Connections) {
        if (connection->GetConnectionID() == connectionID) {
            return connection.get();
        }
    }
    return nullptr;
}

void c_AsyncHTTP2::EndRequest(c_Request& request, std::int32_t endState) {
    if (request.m_Finished == 1) {
        return;
    }
    request.m_Finished = 1;
    request.m_EndState = endState;
    request.m_TimeoutTimer.Stop();
    FinishRequest(request);
}

void c_AsyncHTTP2::FinishRequest(c_Request& request) {
    std::vector<std::int32_t> chain{request.GetID()};
    c_Request* oldest = &request;
    while (c_Request* previous = FindRequest(oldest->m_PreviousRequestID)) {
        chain.push_back(previous->GetID());
        oldest = previous;
    }
    if (request.m_NotifyOwner) {
        NotifyFinished(*oldest, request);
    }
    for (const std::int32_t id : chain) {
        MoveToCompleted(id);
    }
}

void c_AsyncHTTP2::MoveToCompleted(std::int32_t id) {
    const auto found = m_Requests.find(id);
    if (found == m_Requests.end()) {
        return;
    }
    std::unique_ptr<c_Request> request = std::move(found->second);
    m_Requests.erase(found);
    try {
        m_CompletedRequests.push_back(std::move(request));
    } catch (const std::exception&) {
        Log("Failed to add the request object to the completed requests container.");
        request.reset();
    }
    StartDestroyTimer();
}

void c_AsyncHTTP2::StartDestroyTimer() {
    if (!m_DestroyCompletedObjectsTimer.IsRunning()) {
        m_DestroyCompletedObjectsTimer.Start(0, 1, false);
    }
}

void c_AsyncHTTP2::DestroyCompletedObjects() {
    if (m_OwnerCallbackDepth != 0) {
        return;
    }
    m_CompletedConnections.clear();
    m_CompletedRequests.clear();
}

void c_AsyncHTTP2::OnTimer(c_TimerNew* timer) {
    if (timer == &m_DestroyCompletedObjectsTimer) {
        DestroyCompletedObjects();
    }
}

void c_AsyncHTTP2::NotifyActivity(c_Request& request) {
    if (!request.m_NotifyOwner) {
        return;
    }
    c_Request* first = request.GetFirstRequest();
    c_Request* shown = first != nullptr ? first : &request;
    CallOwner("Async HTTP caught an unhandled exception from the owner OnAsyncHTTP2RequestActivity.",
              [&] { m_p_Owner->OnAsyncHTTP2RequestActivity(this, shown, &request, &request.GetResponse()); });
}

void c_AsyncHTTP2::NotifyRedirect(c_Request& old, c_Request& next) {
    CallOwner("Async HTTP caught an unhandled exception from the owner OnAsyncHTTP2RequestRedirect.",
              [&] { m_p_Owner->OnAsyncHTTP2RequestRedirect(this, &old, &next); });
}

void c_AsyncHTTP2::NotifyFinished(c_Request& first, c_Request& final) {
    CallOwner("Async HTTP caught an unhandled exception from the owner OnAsyncHTTP2RequestFinished.", [&] {
        m_p_Owner->OnAsyncHTTP2RequestFinished(this, &first, &final, final.m_EndState, &final.GetResponse());
    });
}

template <typename t_Call> void c_AsyncHTTP2::CallOwner(const char* exceptionLine, t_Call call) {
    if (m_p_Owner == nullptr) {
        return;
    }
    ++m_OwnerCallbackDepth;
    try {
        call();
    } catch (...) {
        Log(exceptionLine);
    }
    --m_OwnerCallbackDepth;
    // What finished while the owner held the objects is destroyed once the last call has returned.
    if (m_OwnerCallbackDepth == 0 && (!m_CompletedRequests.empty() || !m_CompletedConnections.empty())) {
        StartDestroyTimer();
    }
}

void c_AsyncHTTP2::SetProxySettings(c_HTTPProxySettings* settings) {
    if (settings == m_p_ProxySettings) {
        return;
    }
    if (m_p_ProxySettings != nullptr) {
        DisconnectSignal(&m_p_ProxySettings->m_ChangedSignal, this);
    }
    m_p_ProxySettings = settings;
    if (settings != nullptr) {
        ConnectSignal(&settings->m_ChangedSignal, this);
    }
}

void c_AsyncHTTP2::OnSignalDisconnected(c_SignalBase* signal) {
    if (m_p_ProxySettings != nullptr && signal == &m_p_ProxySettings->m_ChangedSignal) {
        m_p_ProxySettings = nullptr;
    }
}

void c_AsyncHTTP2::SetErrorOnlySocketLogging() {
    m_SocketLogLevel = 1;
    for (const auto* connections : {&m_Connections, &m_CompletedConnections}) {
        for (const std::unique_ptr<c_Connection>& connection : *connections) {
            connection->SetErrorOnlyLogging();
        }
    }
}

void c_AsyncHTTP2::SetSecurityMethod(std::int32_t method) {
    if (method != 0) {
        m_SecurityMethod = method;
    }
}

void c_AsyncHTTP2::SetRequestTimeout(std::int32_t milliseconds) {
    m_RequestTimeoutMilliseconds = std::max(milliseconds, -1);
}

c_HTTPConnectionInfo* c_AsyncHTTP2::GetConnectionInfo(const c_HTTPURLParts& parts, bool tryProxy) {
    try {
        return m_ConnectionInfos.GetConnectionInfo(parts, tryProxy ? m_p_ProxySettings : nullptr);
    } catch (const std::exception&) {
        return nullptr;
    }
}

c_HTTPConnectionInfo* c_AsyncHTTP2::GetProxyConnectionInfo(const c_StringView& scheme) {
    if (m_p_ProxySettings == nullptr) {
        return nullptr;
    }
    try {
        return m_ConnectionInfos.GetProxyConnectionInfo(scheme, *m_p_ProxySettings);
    } catch (const std::exception&) {
        return nullptr;
    }
}

void c_AsyncHTTP2::Log(const c_StringView& text) const {
    if (m_EnableLogging) {
        LogMessage(text);
    }
}
