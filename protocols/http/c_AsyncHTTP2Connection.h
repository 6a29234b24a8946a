#pragma once
// c_AsyncHTTP2Connection (the client's c_AsyncHTTP2::c_Connection): one TCP connection carrying
// exactly one request. It connects through its buffered socket, writes the request once connected,
// feeds received bytes to the request's response, and closes 250 ms after the response ended, after
// a failure, or after a spell without traffic (three minutes by default). It is never reused.

#include "oslayer/threads/c_TimerNew.h"
#include "protocols/http/c_HTTPConnectionInfo.h"
#include "protocols/socket/c_BufferedSocket2.h"
#include "strings/c_String.h"

#include <cstdint>

class c_AsyncHTTP2;
class c_AsyncHTTP2Request;

class c_AsyncHTTP2Connection final : public c_BufferedSocket2Owner, public c_TimerNewCallback {
public:
    static constexpr std::uint32_t DELAYED_CLOSE_MILLISECONDS = 250;

    c_AsyncHTTP2Connection(c_AsyncHTTP2* client, const c_HTTPConnectionInfo& info, std::int32_t connectionID,
                           const c_AsyncHTTP2Request& request);
    ~c_AsyncHTTP2Connection();
    c_AsyncHTTP2Connection(const c_AsyncHTTP2Connection&) = delete;
    c_AsyncHTTP2Connection& operator=(const c_AsyncHTTP2Connection&) = delete;

    // Called once, right after construction; text becomes the request's status text.
    bool StartConnection(c_String& text);
    // Closes without reporting anything to the request.
    void RequestClose();
    void DelayedClose();
    void SetErrorOnlyLogging();
    std::int32_t GetConnectionID() const { return m_ConnectionID; }
    const c_HTTPConnectionInfo& GetConnectionInfo() const { return m_ConnectionInfo; }
    c_AsyncHTTP2Request* GetRequest() const;
    void Log(const c_StringView& text) const;

    void OnBufferedSocket2Connected(c_BufferedSocket2* socket) override;
    void OnBufferedSocketClosed(c_BufferedSocket2* socket) override;
    void OnBufferedSocketReceivedData(c_BufferedSocket2* socket, c_ByteBuffer& received) override;
    void OnTimer(c_TimerNew* timer) override;

private:
    void RestartInactivityTimer();
    // The response has ended, properly or not: the request completes or fails.
    void CheckResponse(c_AsyncHTTP2Request& request);
    // The closed event's verdict on a request still open.
    void EndRequestOnClose(c_AsyncHTTP2Request& request, bool wasConnecting);

    c_AsyncHTTP2* m_p_Client;
    c_HTTPConnectionInfo m_ConnectionInfo;
    std::int32_t m_ConnectionID;
    std::int32_t m_RequestID;
    c_String m_Name;
    // Before the timers, so that they go first.
    c_BufferedSocket2 m_BufferedSocket;
    c_TimerNew m_InactivityTimer{this, "c_AsyncHTTP2::c_Connection::m_InactivityTimer"};
    c_TimerNew m_DelayedCloseTimer{this, "c_AsyncHTTP2::c_Connection::m_DelayedCloseTimer"};
    bool m_Connecting = false;
    bool m_CloseRequested = false;
};
