#pragma once
// c_AsyncHTTP2Request (the client's c_AsyncHTTP2::c_Request): one request of the HTTP client, with its
// parameters, its response, its progress text, its end state and its own time-out. It also writes
// itself onto a connection's socket.

#include "oslayer/threads/c_TimerNew.h"
#include "protocols/http/c_HTTPRequestParameters.h"
#include "protocols/http/c_HTTPResponse.h"
#include "strings/c_String.h"

#include <cstdint>

class c_AsyncHTTP2;
class c_BufferedSocket2;
class c_HTTPConnectionInfo;

class c_AsyncHTTP2Request final : public c_TimerNewCallback {
public:
    enum e_EndState : std::int32_t {
        END_NOT_FINISHED = 0,
        END_CANCELED = 1,
        END_COMPLETED = 2,
        END_FAILED = 3,
        END_TIMED_OUT = 4,
    };

    // previous: the request this one follows up, or null.
    c_AsyncHTTP2Request(c_AsyncHTTP2* client, const c_AsyncHTTP2Request* previous, std::int32_t id,
                        const c_HTTPRequestParameters& parameters, std::int32_t timeoutMilliseconds);
    c_AsyncHTTP2Request(const c_AsyncHTTP2Request&) = delete;
    c_AsyncHTTP2Request& operator=(const c_AsyncHTTP2Request&) = delete;

    std::int32_t GetID() const { return m_ID; }
    const c_String& GetURL() const { return m_Parameters.m_URL; }
    const c_HTTPRequestParameters& GetRequestParameters() const { return m_Parameters; }
    c_HTTPResponse& GetResponse() { return m_Response; }
    const c_String& GetStatusText() const { return m_StatusText; }
    std::int32_t GetEndState() const { return m_EndState; }
    bool IsFinished() const { return m_Finished != 0; }
    c_AsyncHTTP2Request* GetFirstRequest();
    c_AsyncHTTP2Request* GetPreviousRequest() const;
    bool IsFirstRequest() const { return m_PreviousRequestID == 0; }
    bool GetNotifyOwner() const { return m_NotifyOwner; }
    void DisableOwnerNotification() { m_NotifyOwner = false; }
    void SetStatusText(const c_StringView& text) { m_StatusText = text; }
    std::int32_t GetConnectionID() const { return m_ConnectionID; }
    // Also starts the time-out, when the request has one.
    void SetConnectionID(std::int32_t connectionID);
    bool HasHeader(const c_StringNoCase& name) const;
    // The "Host" field for a URL: its host, and its port when that is not the scheme's default.
    static c_String GetHostFieldValue(const c_StringView& url);
    c_HTTPConnectionInfo* GetConnectionInfo() const;

    // Queues the request line, the header block, the blank line and (for methods with a body) the body,
    // then sends. The request target is the whole URL through a proxy, else the path ("/" when empty).
    bool WriteRequest(c_BufferedSocket2& socket, bool viaProxy, c_String& text);

    void OnTimer(c_TimerNew* timer) override;

private:
    friend class c_AsyncHTTP2;

    // Fills the default header fields that are missing.
    void AddDefaultHeaders();
    c_String GetRequestTarget(bool viaProxy) const;

    c_AsyncHTTP2* m_p_Client;
    std::int32_t m_ID;
    std::int32_t m_FirstRequestID;
    std::int32_t m_PreviousRequestID;
    c_HTTPRequestParameters m_Parameters;
    c_HTTPResponse m_Response;
    std::int32_t m_Finished = 0;
    c_String m_StatusText{"Request has not yet been initialized."};
    std::int32_t m_ConnectionID = 0;
    std::int32_t m_EndState = END_NOT_FINISHED;
    // Negative: none.
    std::int32_t m_TimeoutMilliseconds;
    c_TimerNew m_TimeoutTimer{this, "c_AsyncHTTP2::c_Request::m_TimeoutTimer"};
    bool m_NotifyOwner = true;
};
