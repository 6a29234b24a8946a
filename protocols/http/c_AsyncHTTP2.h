#pragma once
// c_AsyncHTTP2: the asynchronous HTTP/1.1 client. It owns its requests and connections, adds the
// default header fields, opens one connection per request (directly or to the HTTP proxy), allows at
// most five connections per host and queues the rest, ends every request in one of four end states
// and tells its owner, and destroys finished objects from a timer, outside any owner call.
//
// Used on one thread: the one that creates it, where its connections' socket events and its timers
// arrive. It takes no locks. Owner calls are guarded against exceptions; while one runs, nothing is
// destroyed, so an owner may pump messages inside it (but must not destroy the client there).

#include "oslayer/system/Signals.h"
#include "oslayer/threads/c_TimerNew.h"
#include "protocols/http/c_AsyncHTTP2Connection.h"
#include "protocols/http/c_AsyncHTTP2Owner.h"
#include "protocols/http/c_AsyncHTTP2Request.h"
#include "protocols/http/c_HTTPConnectionInfo.h"
#include "protocols/http/c_HTTPProxySettings.h"
#include "protocols/http/c_HTTPRequestParameters.h"
#include "strings/c_String.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class c_AsyncHTTP2 : public c_SlotHolder, public c_TimerNewCallback {
public:
    typedef c_AsyncHTTP2Request c_Request;
    typedef c_AsyncHTTP2Connection c_Connection;

    static constexpr std::int32_t MAX_CONNECTIONS_PER_HOST = 5;
    static constexpr std::uint32_t DEFAULT_INACTIVITY_MILLISECONDS = 180000;

    explicit c_AsyncHTTP2(c_AsyncHTTP2Owner* owner);
    ~c_AsyncHTTP2() override;
    c_AsyncHTTP2(const c_AsyncHTTP2&) = delete;
    c_AsyncHTTP2& operator=(const c_AsyncHTTP2&) = delete;

    // Null when the dispatch failed (nothing is reported then; the id is used up) or while all
    // requests are being canceled.
    c_Request* SendRequest(const c_HTTPRequestParameters& parameters, c_Request* previous);
    // The new id, or 0.
    std::int32_t SendRequestAndGetID(const c_HTTPRequestParameters& parameters);
    std::int32_t SendGetRequest(const c_String& url);
    void CancelRequest(std::int32_t id, bool notifyOwner);
    void CancelAllRequests(bool notifyOwner);
    c_Request* FindRequest(std::int32_t id) const;
    c_Connection* FindConnection(std::int32_t connectionID) const;

    void SetProxySettings(c_HTTPProxySettings* settings);
    void SetErrorOnlySocketLogging();
    // 0 is ignored.
    void SetSecurityMethod(std::int32_t method);
    // Below -1 becomes -1 (no time-out).
    void SetRequestTimeout(std::int32_t milliseconds);
    void SetEnableLogging(bool enable) { m_EnableLogging = enable; }
    // For tests: a connection closes after this long without traffic.
    void SetInactivityMilliseconds(std::uint32_t milliseconds) { m_InactivityMilliseconds = milliseconds; }

    // Null for a URL that is not valid. Records stay put until the client is reset.
    c_HTTPConnectionInfo* GetConnectionInfo(const c_HTTPURLParts& parts, bool tryProxy);
    c_HTTPConnectionInfo* GetProxyConnectionInfo(const c_StringView& scheme);

    void OnSignalDisconnected(c_SignalBase* signal) override;
    void OnTimer(c_TimerNew* timer) override;

    // "Not finished", "Canceled", "Completed", "Failed", "Timed out"; empty for other values.
    static const char* GetRequestEndStateText(std::int32_t endState);

private:
    friend class c_AsyncHTTP2Request;
    friend class c_AsyncHTTP2Connection;

    bool DispatchRequest(c_Request& request);
    bool CheckHeaderFields(c_Request& request);
    std::int32_t CountConnections(const c_StringView& host) const;
    bool QueueRequest(c_Request& request);
    bool CreateConnection(c_Request& request, const c_HTTPConnectionInfo& info);
    // Frees the connection's slot and starts the queued requests for its host.
    void OnConnectionClosed(std::int32_t connectionID);
    void StartQueuedRequests(const c_String& host);
    bool TakeNextQueued(const c_String& host, std::int32_t* id);
    void StartQueuedRequest(std::int32_t id);

    // The end paths; each does nothing for a request that has finished.
    void CancelEnd(c_Request& request) { EndRequest(request, c_Request::END_CANCELED); }
    void TimeOut(c_Request& request) { EndRequest(request, c_Request::END_TIMED_OUT); }
    void FailRequest(c_Request& request) { EndRequest(request, c_Request::END_FAILED); }
    // A proxy challenge, then a redirect, may take the request over; otherwise it completes as it is.
    void CompleteRequest(c_Request& request);
    void EndRequest(c_Request& request, std::int32_t endState);
    void FinishRequest(c_Request& request);
    void MoveToCompleted(std::int32_t id);
    void StartDestroyTimer();
    void DestroyCompletedObjects();
    void Reset();

    // The follow-ups (c_AsyncHTTP2FollowUps.cpp). The handlers return true when they have taken the
    // request over: it has been replaced by a follow-up, or it has failed.
    bool HandleProxyAuthentication(c_Request& request);
    bool HandleRedirect(c_Request& request);
    // Null with the request's status text set when the redirect is not followed.
    c_Request* FollowRedirect(c_Request& request);
    // The request a follow-up replaced: completed, reported only with its chain.
    void ReplaceRequest(c_Request& request);
    bool IsProxyInUse() const { return m_p_ProxySettings != nullptr && m_p_ProxySettings->IsInUse(); }

    // The owner notifications, guarded.
    void NotifyActivity(c_Request& request);
    void NotifyRedirect(c_Request& old, c_Request& next);
    void NotifyFinished(c_Request& first, c_Request& final);
    template <typename t_Call> void CallOwner(const char* exceptionLine, t_Call call);

    void Log(const c_StringView& text) const;

    c_AsyncHTTP2Owner* m_p_Owner;
    std::int32_t m_NextRequestID = 1;
    std::int32_t m_NextConnectionID = 1;
    std::map<std::int32_t, std::unique_ptr<c_Request>> m_Requests;
    std::vector<std::unique_ptr<c_Request>> m_CompletedRequests;
    c_HTTPConnectionInfoMap m_ConnectionInfos;
    std::vector<std::int32_t> m_QueuedRequestIDs;
    std::vector<std::unique_ptr<c_Connection>> m_Connections;
    std::vector<std::unique_ptr<c_Connection>> m_CompletedConnections;
    c_TimerNew m_DestroyCompletedObjectsTimer{this, "c_AsyncHTTP2::m_DestroyCompletedObjectsTimer"};
    std::int32_t m_SecurityMethod = 3;
    bool m_CancelingAllRequests = false;
    std::int32_t m_OwnerCallbackDepth = 0;
    std::int32_t m_RequestTimeoutMilliseconds = -1;
    c_HTTPProxySettings* m_p_ProxySettings = nullptr;
    bool m_EnableLogging = true;
    std::int32_t m_SocketLogLevel = 0;
    std::uint32_t m_InactivityMilliseconds = DEFAULT_INACTIVITY_MILLISECONDS;
};
